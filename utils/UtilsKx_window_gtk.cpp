// Window helpers on GTK. A top-level window keeps off the taskbar (and the
// pager) through the hints the desktop reads; the toolkit sends a changed
// hint to the desktop itself, also while the window is on screen, so the
// window need not be hidden and shown again as on Windows.
#include "Gtk.h"
#include "UtilsKx.h"

namespace NUtilsKx {

void RemoveWindowTaskbar(void* window)
{
    if (window == nullptr)
        return;
    const Gtk::TLibrary& gtk = Gtk::Library();
    gtk.gtk_window_set_skip_taskbar_hint(GTK_WINDOW(window), TRUE);
    gtk.gtk_window_set_skip_pager_hint(GTK_WINDOW(window), TRUE);
}

} // namespace NUtilsKx
