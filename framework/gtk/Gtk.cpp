#include "Gtk.h"

#include <clocale>

#include "Consts.h"
#include "Forms.h"
#include "SysUtils.h"
#include "Utf8.h"

namespace Gtk {

void Start()
{
    static int started = 0; // 1 running, -1 no display
    if (started == 0) {
        const TLibrary& gtk = Library();
        // On a Wayland session the window runs through XWayland: only there
        // can a program centre its window and keep it off the taskbar. A
        // session without an X display gets the window through Wayland,
        // where the compositor places it.
        gtk.gdk_set_allowed_backends("x11,wayland");
        // The toolkit's characters and button texts follow the user's
        // locale; numbers and dates keep the C rules that the program's own
        // conversions expect.
        std::setlocale(LC_CTYPE, "");
        std::setlocale(LC_MESSAGES, "");
        gtk.gtk_disable_setlocale();
        if (!Application->Title.empty())
            gtk.g_set_prgname(TextToUtf8(Application->Title).c_str());
        started = gtk.gtk_init_check(nullptr, nullptr) ? 1 : -1;
    }
    if (started < 0)
        throw Exception(SNoDisplay);
}

int ScreenDpi()
{
    // The font resolution the desktop asks for, in the toolkit's own pixels;
    // whole-number scales of the display come on top in the toolkit.
    const double resolution = Library().gdk_screen_get_resolution(Library().gdk_screen_get_default());
    return resolution > 0 ? static_cast<int>(resolution + 0.5) : 96;
}

std::string MnemonicText(const AnsiString& caption)
{
    AnsiString text;
    for (size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        if (c == '&') {
            const char next = i + 1 < caption.size() ? caption[i + 1] : '\0';
            if (next == '&') {
                text += '&';
                ++i;
            } else if (next == '_') {
                // The toolkit cannot underline an underscore: it is shown plain.
                text += "__";
                ++i;
            } else if (next != '\0') {
                text += '_';
            }
        } else if (c == '_') {
            text += "__";
        } else {
            text += c;
        }
    }
    return TextToUtf8(text);
}

} // namespace Gtk
