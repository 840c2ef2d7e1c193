#include "WindowHints.h"

#include "Gtk.h"

void SkipTaskbarAndPager(void* window)
{
    const Gtk::TLibrary& gtk = Gtk::Library();
    gtk.gtk_window_set_skip_taskbar_hint(GTK_WINDOW(window), TRUE);
    gtk.gtk_window_set_skip_pager_hint(GTK_WINDOW(window), TRUE);
}
