#include "Desktop.h"

#include <cstdlib>

#include "AtSpi.h"
#include "X11Window.h"

const int QuickStarts = 10;

TBoxSeen WaitForBox(const TChildProcess& child)
{
    TBoxSeen seen;
    if (!StartAtSpi())
        return seen;
    TBoxView box;
    if (!WaitUntil([&] { return (box = ReadBox(child.Id())).Found; }, std::chrono::seconds(30)))
        return seen;
    return {true, box.Caption, box.Text, box.HasIcon};
}

bool PressBoxOk(const TChildProcess& child)
{
    return PressOk(child.Id());
}

int BoxCount(const TChildProcess& child)
{
    return ReadBox(child.Id()).Count;
}

bool WindowIsOpen(void* handle)
{
    // A form's window is the toolkit's widget for as long as the form has one.
    return handle != nullptr;
}

TWindowSeen ReadWindow(const TChildProcess& child)
{
    if (!StartAtSpi())
        return {};
    const TWindowView view = ReadWindow(child.Id());
    return {view.Found, view.Caption, view.Upper, view.Lower, view.Bar, view.UpperFromTheRight};
}

TWindowFrame ReadFrame(const TChildProcess& child)
{
    TWindowFrame frame;
    const TWindowView view = ReadWindow(child.Id());
    const TWindowHints hints = ReadHints(child.Id(), view.Caption);
    if (!view.Found || !hints.Found)
        return frame;
    const TScreenRect screen = ScreenRect();
    frame.Found = true;
    // Neither in a taskbar nor in a pager; a frame that offers moving alone.
    // Under a window manager, what the manager made of the program's hints.
    frame.TaskbarEntry = !hints.SkipTaskbar || !hints.SkipPager;
    frame.Buttons = hints.Managed ? hints.ManagerOffersButtons : !hints.MoveOnly || !hints.TitleBar;
    frame.ClientWidth = view.Client.Width;
    frame.ClientHeight = view.Client.Height;
    const TScreenRect outer = hints.Managed ? hints.Frame : view.Frame;
    frame.Centred = std::abs(outer.X + outer.Width / 2 - screen.Width / 2) <= 1 &&
                    std::abs(outer.Y + outer.Height / 2 - screen.Height / 2) <= 1;
    const TScreenRect work = WorkArea();
    frame.Column = PlaceAlong(work.X, work.X + work.Width, outer.X, outer.X + outer.Width);
    frame.Row = PlaceAlong(work.Y, work.Y + work.Height, outer.Y, outer.Y + outer.Height);
    frame.TopMost = hints.KeptAbove;
    return frame;
}

int ScreenDpi()
{
    // The test display's; the program lays its window out at 96 there.
    return 96;
}

bool RequestClose(const TChildProcess& child)
{
    return RequestClose(child.Id(), ReadWindow(child.Id()).Caption);
}
