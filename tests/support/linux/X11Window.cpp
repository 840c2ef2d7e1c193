#include "X11Window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <memory>
#include <vector>

namespace {

struct TCloseDisplay {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using TDisplay = std::unique_ptr<Display, TCloseDisplay>;

// The items of a window property of 32-bit format.
std::vector<unsigned long> Property(Display* display, Window window, const char* name, Atom type)
{
    std::vector<unsigned long> items;
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 64, False, type, &actualType,
                           &format, &count, &after, &data) == Success &&
        data != nullptr) {
        if (format == 32) {
            const auto* values = reinterpret_cast<const unsigned long*>(data);
            items.assign(values, values + count);
        }
        XFree(data);
    }
    return items;
}

std::string Title(Display* display, Window window)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(display, "UTF8_STRING", False), &actualType, &format, &count, &after,
                           &data) == Success &&
        data != nullptr) {
        title.assign(reinterpret_cast<const char*>(data), count);
        XFree(data);
    }
    return title;
}

Window FindWindow(Display* display, pid_t process, const std::string& caption)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable)
            continue;
        const std::vector<unsigned long> pid = Property(display, children[i], "_NET_WM_PID", XA_CARDINAL);
        if (pid.size() == 1 && static_cast<pid_t>(pid[0]) == process && Title(display, children[i]) == caption)
            found = children[i];
    }
    if (children != nullptr)
        XFree(children);
    return found;
}

bool Has(const std::vector<unsigned long>& atoms, Display* display, const char* name)
{
    const Atom wanted = XInternAtom(display, name, False);
    for (const unsigned long atom : atoms)
        if (atom == wanted)
            return true;
    return false;
}

} // namespace

TWindowHints ReadHints(pid_t process, const std::string& caption)
{
    TWindowHints hints;
    const TDisplay display(XOpenDisplay(nullptr));
    if (!display)
        return hints;
    const Window window = FindWindow(display.get(), process, caption);
    if (window == 0)
        return hints;
    hints.Found = true;
    const std::vector<unsigned long> state = Property(display.get(), window, "_NET_WM_STATE", XA_ATOM);
    hints.SkipTaskbar = Has(state, display.get(), "_NET_WM_STATE_SKIP_TASKBAR");
    hints.SkipPager = Has(state, display.get(), "_NET_WM_STATE_SKIP_PAGER");
    hints.Dialog = Has(Property(display.get(), window, "_NET_WM_WINDOW_TYPE", XA_ATOM), display.get(),
                       "_NET_WM_WINDOW_TYPE_DIALOG");
    // Flags, functions, decorations, as the frame's window manager reads them.
    const std::vector<unsigned long> motif =
        Property(display.get(), window, "_MOTIF_WM_HINTS", XInternAtom(display.get(), "_MOTIF_WM_HINTS", False));
    if (motif.size() >= 3) {
        const unsigned long functions = motif[1];
        const unsigned long decorations = motif[2];
        const unsigned long move = 4;
        const unsigned long title = 8;
        hints.MoveOnly = (motif[0] & 1) != 0 && functions == move;
        hints.TitleBar = (motif[0] & 2) != 0 && (decorations & title) != 0 && (decorations & ~(2ul | title)) == 0;
    }
    return hints;
}

bool RequestClose(pid_t process, const std::string& caption)
{
    const TDisplay display(XOpenDisplay(nullptr));
    if (!display)
        return false;
    const Window window = FindWindow(display.get(), process, caption);
    if (window == 0)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display.get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display.get(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display.get(), window, False, NoEventMask, &event);
    XFlush(display.get());
    return true;
}

TScreenRect ScreenRect()
{
    const TDisplay display(XOpenDisplay(nullptr));
    if (!display)
        return {};
    const Screen* screen = DefaultScreenOfDisplay(display.get());
    return {0, 0, WidthOfScreen(screen), HeightOfScreen(screen)};
}
