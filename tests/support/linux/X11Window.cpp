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

// The top-level windows of the programs: the window manager's list of the
// windows it manages (it puts each into a frame of its own), else the root
// window's children.
std::vector<Window> TopLevelWindows(Display* display)
{
    const std::vector<unsigned long> managed =
        Property(display, DefaultRootWindow(display), "_NET_CLIENT_LIST", XA_WINDOW);
    if (!managed.empty())
        return {managed.begin(), managed.end()};
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<Window> windows;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) && children != nullptr) {
        windows.assign(children, children + count);
        XFree(children);
    }
    return windows;
}

Window FindWindow(Display* display, pid_t process, const std::string& caption)
{
    for (const Window window : TopLevelWindows(display)) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
            continue;
        const std::vector<unsigned long> pid = Property(display, window, "_NET_WM_PID", XA_CARDINAL);
        if (pid.size() == 1 && static_cast<pid_t>(pid[0]) == process && Title(display, window) == caption)
            return window;
    }
    return 0;
}

// The window's frame on the root window: its client area and the frame's
// borders around it as the window manager states them.
TScreenRect FrameOf(Display* display, Window window)
{
    XWindowAttributes attributes;
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XGetWindowAttributes(display, window, &attributes) ||
        !XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child))
        return {};
    std::vector<unsigned long> extents = Property(display, window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    extents.resize(4); // left, right, top, bottom
    const auto left = static_cast<int>(extents[0]);
    const auto top = static_cast<int>(extents[2]);
    return {x - left, y - top, attributes.width + left + static_cast<int>(extents[1]),
            attributes.height + top + static_cast<int>(extents[3])};
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
    hints.KeptAbove = Has(state, display.get(), "_NET_WM_STATE_ABOVE");
    hints.Managed = !Property(display.get(), DefaultRootWindow(display.get()), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW)
                         .empty();
    const std::vector<unsigned long> offered =
        Property(display.get(), window, "_NET_WM_ALLOWED_ACTIONS", XA_ATOM);
    for (const char* action : {"_NET_WM_ACTION_CLOSE", "_NET_WM_ACTION_MINIMIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ",
                               "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_RESIZE"})
        hints.ManagerOffersButtons |= Has(offered, display.get(), action);
    hints.Frame = FrameOf(display.get(), window);
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

TScreenRect WorkArea()
{
    const TDisplay display(XOpenDisplay(nullptr));
    if (!display)
        return {};
    const std::vector<unsigned long> area =
        Property(display.get(), DefaultRootWindow(display.get()), "_NET_WORKAREA", XA_CARDINAL);
    if (area.size() < 4)
        return ScreenRect();
    return {static_cast<int>(area[0]), static_cast<int>(area[1]), static_cast<int>(area[2]), static_cast<int>(area[3])};
}
