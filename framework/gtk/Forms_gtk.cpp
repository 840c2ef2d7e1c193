// GTK side of the application object, forms and timers.
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "Diagnostics.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Gtk.h"
#include "SysUtils.h"

using namespace Gtk;

namespace {

// Set by Terminate until the loop has ended: the loop and any box that is
// open end, and no new box is shown.
bool QuitRequested = false;
// The message box on screen, if any.
GtkWidget* OpenBox = nullptr;

} // namespace

void* TApplication::Handle()
{
    // Never shown: it stands for the application as Windows has it, and its
    // taskbar hint is the one the forms take.
    if (FHandle == nullptr) {
        Start();
        const TLibrary& gtk = Library();
        FHandle = gtk.gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk.gtk_window_set_title(GTK_WINDOW(FHandle), TextToUtf8(Title).c_str());
    }
    return FHandle;
}

void TApplication::RunMessageLoop()
{
    if (!QuitRequested) {
        Start();
        Library().gtk_main();
    }
    QuitRequested = false;
}

void TApplication::Terminate()
{
    QuitRequested = true;
    const TLibrary& gtk = Library();
    if (OpenBox != nullptr)
        gtk.gtk_dialog_response(GTK_DIALOG(OpenBox), GTK_RESPONSE_NONE);
    if (gtk.gtk_main_level() > 0)
        gtk.gtk_main_quit();
}

void TApplication::DestroyHandle()
{
    Library().gtk_widget_destroy(static_cast<GtkWidget*>(FHandle));
}

void TApplication::ShowBox(const AnsiString& text, TMessageIcon icon, const AnsiString& detail)
{
    if (QuitRequested)
        return;
    // A box of root's would load the toolkit as root on a display that may
    // be a user's (sudo keeps DISPLAY), with that user's modules and
    // settings, and would hold the deployment until someone clicks: as
    // SYSTEM's boxes on Windows, the text goes to the log instead.
    if (geteuid() == 0) {
        WriteDiagnostic(text + (detail.empty() ? AnsiString() : " (" + detail + ")"),
                        icon == TMessageIcon::Stop ? TDiagnosticKind::Error : TDiagnosticKind::Information);
        return;
    }
    try {
        Start();
    } catch (const Exception&) {
        // No display to show the box on: the text goes where a terminal sees it.
        std::fprintf(stderr, "%s: %s%s\n", TextToUtf8(Title).c_str(), TextToUtf8(text).c_str(),
                     detail.empty() ? "" : TextToUtf8(" (" + detail + ")").c_str());
        return;
    }
    const TLibrary& gtk = Library();
    // Over the main form while it is on screen; otherwise a window of its own,
    // with its own taskbar entry, so that the user can find it.
    GtkWindow* owner = nullptr;
    if (FMainForm != nullptr && FMainForm->HandleAllocated() && FMainForm->Visible())
        owner = GTK_WINDOW(FMainForm->Handle());
    GtkWidget* box = gtk.gtk_message_dialog_new(owner, GTK_DIALOG_MODAL,
                                                icon == TMessageIcon::Stop ? GTK_MESSAGE_ERROR : GTK_MESSAGE_OTHER,
                                                GTK_BUTTONS_OK, "%s", TextToUtf8(text).c_str());
    gtk.gtk_window_set_title(GTK_WINDOW(box), TextToUtf8(Title).c_str());
    // Screen readers announce the box by its caption, as on Windows, not by
    // the toolkit's name for the kind of message.
    gtk.atk_object_set_name(gtk.gtk_widget_get_accessible(box), TextToUtf8(Title).c_str());
    gtk.gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
    if (icon == TMessageIcon::Stop) {
        GtkWidget* image = gtk.gtk_image_new_from_icon_name("dialog-error", GTK_ICON_SIZE_DIALOG);
        gtk.gtk_message_dialog_set_image(GTK_MESSAGE_DIALOG(box), image);
        gtk.gtk_widget_show(image);
    }
    GtkWidget* outer = OpenBox;
    OpenBox = box;
    gtk.gtk_dialog_run(GTK_DIALOG(box));
    OpenBox = outer;
    gtk.gtk_widget_destroy(box);
}

uint32_t GetTickCount32()
{
    // Since the system started, time spent suspended included, as on Windows.
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

struct TFormWindow {
    static gboolean DeleteEvent(GtkWidget*, GdkEvent*, gpointer form)
    {
        try {
            static_cast<TForm*>(form)->Close();
        } catch (const std::exception& error) {
            Application->HandleException(error);
        }
        // The window stays; closing the main form ends the loop instead.
        return TRUE;
    }

    // The monitor that holds the mouse pointer; the window's own where there
    // is no pointer (a compositor without a seat).
    static GdkMonitor* PointerMonitor(GdkWindow* frame)
    {
        const TLibrary& gtk = Library();
        GdkDisplay* display = gtk.gdk_window_get_display(frame);
        GdkSeat* seat = gtk.gdk_display_get_default_seat(display);
        GdkDevice* pointer = seat != nullptr ? gtk.gdk_seat_get_pointer(seat) : nullptr;
        if (pointer == nullptr)
            return gtk.gdk_display_get_monitor_at_window(display, frame);
        int x = 0;
        int y = 0;
        gtk.gdk_device_get_position(pointer, nullptr, &x, &y);
        return gtk.gdk_display_get_monitor_at_point(display, x, y);
    }

    // The toolkit centres the window's client area; a window manager puts
    // its frame on top, so the frame's middle lies below the monitor's. Once
    // mapped, the frame's size is known, and the frame is placed as a whole
    // (without a window manager, frame and client area are the same): in
    // the middle of its monitor, or in the work area that the window
    // manager reports for the pointer's monitor (without its panels).
    static gboolean Mapped(GtkWidget* window, GdkEvent*, gpointer data)
    {
        Place(window, *static_cast<TForm*>(data));
        return FALSE;
    }

    // Another resolution, or a monitor gone (a docking station unplugged):
    // a shown window goes back to its place.
    static void ScreenChanged(GdkScreen*, gpointer window)
    {
        const TLibrary& gtk = Library();
        if (gtk.gtk_widget_get_mapped(static_cast<GtkWidget*>(window)))
            Place(static_cast<GtkWidget*>(window),
                  *static_cast<TForm*>(gtk.g_object_get_data(G_OBJECT(window), FormKey)));
    }

    static void Place(GtkWidget* window, const TForm& form)
    {
        const TLibrary& gtk = Library();
        GdkWindow* frame = gtk.gtk_widget_get_window(window);
        GdkRectangle outer{};
        GdkRectangle area{};
        gtk.gdk_window_get_frame_extents(frame, &outer);
        // KWin has not sized the frame yet when the window is mapped: the
        // frame then reads smaller than the window it holds.
        outer.width = std::max(outer.width, gtk.gdk_window_get_width(frame));
        outer.height = std::max(outer.height, gtk.gdk_window_get_height(frame));
        int margin = 0;
        int x = 0;
        int y = 0;
        if (form.Position == TPosition::poWorkArea) {
            gtk.gdk_monitor_get_workarea(PointerMonitor(frame), &area);
            margin = Scale(8, form.FPixelsPerInch);
            x = form.WorkAreaX;
            y = form.WorkAreaY;
        } else {
            gtk.gdk_monitor_get_geometry(
                gtk.gdk_display_get_monitor_at_window(gtk.gdk_window_get_display(frame), frame), &area);
        }
        const auto along = [margin](int low, int extent, int outerExtent, int where) {
            return where < 0   ? low + margin
                   : where > 0 ? low + extent - margin - outerExtent
                               : low + (extent - outerExtent) / 2;
        };
        gtk.gtk_window_move(GTK_WINDOW(window), along(area.x, area.width, outer.width, x),
                            along(area.y, area.height, outer.height, y));
    }

    static constexpr const char* FormKey = "dn-form";

    // No window menu and no minimise, maximise or close button: the frame
    // offers moving only. Set once the window exists on the display.
    static void Realized(GtkWidget* window, gpointer)
    {
        const TLibrary& gtk = Library();
        GdkWindow* frame = gtk.gtk_widget_get_window(window);
        gtk.gdk_window_set_functions(frame, GDK_FUNC_MOVE);
        gtk.gdk_window_set_decorations(frame, static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE));
    }
};

void TForm::CreateWnd()
{
    Start();
    const TLibrary& gtk = Library();
    FPixelsPerInch = ScreenDpi();
    GtkWidget* window = gtk.gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* frame = GTK_WINDOW(window);
    gtk.gtk_window_set_title(frame, TextToUtf8(Caption()).c_str());
    // Not of the dialog type: a dialog without a parent window keeps its
    // taskbar entry under mutter, whatever its hints ask.
    if (BorderStyle == TBorderStyle::bsDialog)
        gtk.gtk_window_set_resizable(frame, FALSE);
    if (!SystemMenu) {
        gtk.gtk_window_set_deletable(frame, FALSE);
        gtk.g_signal_connect_data(window, "realize", G_CALLBACK(TFormWindow::Realized), this, nullptr,
                                  G_CONNECT_AFTER);
    }
    if (Position == TPosition::poScreenCenter || Position == TPosition::poWorkArea) {
        if (Position == TPosition::poScreenCenter)
            gtk.gtk_window_set_position(frame, GTK_WIN_POS_CENTER);
        gtk.g_signal_connect_data(window, "map-event", G_CALLBACK(TFormWindow::Mapped), this, nullptr,
                                  G_CONNECT_AFTER);
        // Connected for as long as the window lives.
        gtk.g_object_set_data(G_OBJECT(window), TFormWindow::FormKey, this);
        for (const char* change : {"size-changed", "monitors-changed"})
            gtk.g_signal_connect_object(gtk.gdk_screen_get_default(), change, G_CALLBACK(TFormWindow::ScreenChanged),
                                        window, GConnectFlags(0));
    } else
        gtk.gtk_window_move(frame, Scale(Left(), FPixelsPerInch), Scale(Top(), FPixelsPerInch));
    if (TopMost)
        gtk.gtk_window_set_keep_above(frame, TRUE);
    // The application's window carries the program's taskbar entry on
    // Windows; here each form takes its hint.
    auto* application = GTK_WINDOW(Application->Handle());
    gtk.gtk_window_set_skip_taskbar_hint(frame, gtk.gtk_window_get_skip_taskbar_hint(application));
    gtk.gtk_window_set_skip_pager_hint(frame, gtk.gtk_window_get_skip_pager_hint(application));
    gtk.g_signal_connect_data(window, "delete-event", G_CALLBACK(TFormWindow::DeleteEvent), this, nullptr,
                              GConnectFlags(0));

    GtkWidget* client = NewPlacement(TBevelCut::bvNone);
    SizeToBounds(*this, client, FPixelsPerInch);
    gtk.gtk_container_add(GTK_CONTAINER(window), client);
    gtk.gtk_widget_show(client);
    SetClientArea(window, client);
    FHandle = window;
    if (Visible())
        gtk.gtk_widget_show(window);
}

void TForm::BoundsChanged()
{
    if (HandleAllocated())
        SizeToBounds(*this, ContainerOf(FHandle), FPixelsPerInch);
}

void TForm::CaptionChanged()
{
    if (HandleAllocated())
        Library().gtk_window_set_title(GTK_WINDOW(FHandle), TextToUtf8(Caption()).c_str());
}

void TForm::VisibleChanged()
{
    if (!HandleAllocated())
        return;
    if (Visible())
        Library().gtk_widget_show(static_cast<GtkWidget*>(FHandle));
    else
        Library().gtk_widget_hide(static_cast<GtkWidget*>(FHandle));
}

void TForm::ShowAgain()
{
    if (!HandleAllocated() || !Visible())
        return;
    const TLibrary& gtk = Library();
    GdkWindow* frame = gtk.gtk_widget_get_window(static_cast<GtkWidget*>(FHandle));
    if (frame == nullptr || (gtk.gdk_window_get_state(frame) & GDK_WINDOW_STATE_ICONIFIED) == 0)
        return;
    // Mapped again without the keyboard focus. Some window managers focus a
    // window that leaves the minimised state whatever its user time says
    // (openbox); a window that takes no focus keeps it where the user is.
    // The form has nothing to type into.
    gtk.gtk_window_set_focus_on_map(GTK_WINDOW(FHandle), FALSE);
    gtk.gtk_window_set_accept_focus(GTK_WINDOW(FHandle), FALSE);
    gtk.gtk_window_deiconify(GTK_WINDOW(FHandle));
}

namespace {

gboolean TimerTick(gpointer timer)
{
    try {
        static_cast<TTimer*>(timer)->Tick();
    } catch (...) {
        // Tick hands its own exceptions to the application; nothing may
        // cross into the toolkit's code.
    }
    return G_SOURCE_CONTINUE;
}

} // namespace

void TTimer::Restart()
{
    Stop();
    if (!FEnabled || FInterval == 0)
        return;
    const TLibrary& gtk = Library();
    GSource* source = gtk.g_timeout_source_new(FInterval);
    // Ticks go on while a tick shows a message box, as on Windows, whose
    // boxes dispatch the timer's messages.
    gtk.g_source_set_can_recurse(source, TRUE);
    gtk.g_source_set_callback(source, TimerTick, this, nullptr);
    gtk.g_source_attach(source, nullptr);
    FId = reinterpret_cast<uintptr_t>(source);
}

void TTimer::Stop()
{
    if (FId == 0)
        return;
    auto* source = reinterpret_cast<GSource*>(FId);
    FId = 0;
    Library().g_source_destroy(source);
    Library().g_source_unref(source);
}
