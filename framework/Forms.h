#pragma once
// The application object and forms of the windowing layer.
#include <cstdint>
#include <exception>
#include <functional>
#include <utility>

#include "AnsiString.h"
#include "Controls.h"
#include "Graphics.h"

enum class TMessageIcon { None, Stop };

enum class TBorderStyle { bsSizeable, bsDialog };
enum class TPosition { poDesigned, poScreenCenter, poWorkArea };

// A top-level window. Closing the application's main form ends the
// application, like its Terminate.
class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    // The window class the form registers; screen readers and tests see it.
    virtual const char* ClassName() const { return "TForm"; }

    // The form's bounds are its client area; the frame comes on top.
    void SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }

    TBorderStyle BorderStyle = TBorderStyle::bsSizeable;
    // Whether the title bar has a system menu and the minimise, maximise and
    // close buttons.
    bool SystemMenu = true;
    TPosition Position = TPosition::poDesigned;
    // poWorkArea: where the form stands in the work area of the monitor that
    // holds the mouse pointer (-1 at the left or top, 0 in the middle, 1 at
    // the right or bottom), a small margin from its edges.
    int WorkAreaX = 0;
    int WorkAreaY = 0;
    // Above the other windows, through the platform's topmost state.
    bool TopMost = false;
    TColor Color = clBtnFace;

    void Show();
    // Brings back a shown form that the user or the desktop minimised,
    // without taking the keyboard focus from what the user works in.
    void ShowAgain();
    // Asks the form to close: the main form ends the application, others hide.
    void Close();

    // The scale the form's window is laid out at (96 until it has a window).
    int PixelsPerInch() const { return FPixelsPerInch; }

    TCanvas* Canvas() { return &FCanvas; }

    TNotifyEvent OnDestroy;

protected:
    friend struct TFormWindow;
    void CreateWnd() override;
    void BoundsChanged() override;
    void CaptionChanged() override;
    void VisibleChanged() override;
    int TopLevelDpi() const override { return FPixelsPerInch; }

private:
    int FPixelsPerInch = 96;
    TCanvas FCanvas{*this};
};

// A message of the thread's queue as the platform delivered it.
struct TMsg {
    void* hwnd = nullptr;
    unsigned message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// Sees a message before it is dispatched; setting `handled` keeps it from
// being dispatched.
using TMessageEvent = std::function<void(TMsg& message, bool& handled)>;

class TApplication : public TComponent {
public:
    TApplication();

    void Initialize();

    // Caption of the application's own window, its message boxes and error
    // boxes; UTF-8 as a control's caption, and so are the boxes' texts.
    AnsiString Title;

    // The application's own top-level window: zero size, owner of the forms,
    // carrier of the program's taskbar button. Created on first request, so
    // runs that show no window never create it.
    void* Handle();

    // Creates a form owned by the application, with any further arguments of
    // its constructor; the first becomes the main form.
    template <typename TFormClass, typename... TArguments>
    void CreateForm(TFormClass*& reference, TArguments&&... arguments)
    {
        reference = nullptr;
        auto* form = new TFormClass(this, std::forward<TArguments>(arguments)...);
        reference = form;
        if (FMainForm == nullptr)
            FMainForm = form;
    }
    TForm* MainForm() const { return FMainForm; }
    // Whether Run shows the main form when the loop starts.
    bool ShowMainForm = true;

    // Runs the message loop until Terminate. On Windows each message goes to
    // OnMessage first, then (unless handled) is translated and dispatched;
    // exceptions of OnMessage go to HandleException. The GTK loop has no such
    // messages and never calls OnMessage.
    void Run();
    TMessageEvent OnMessage;
    // Posts the quit request: the loop ends once the current event is done.
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // A modal box centred on the screen with `text`, the title as its caption
    // and a single OK button; returns when the user has closed it.
    void ShowMessage(const AnsiString& text, TMessageIcon icon);
    // The standard error box: the message with the full-stop rule, the title,
    // OK and the stop icon.
    void ShowException(const std::exception& error);
    // What events do with an exception: the error box, unless one is already
    // open. Events go on while it is (nobody may be there to close it), and
    // boxes must not pile up on the user's desktop.
    void HandleException(const std::exception& error);

    // Deletes the forms; the framework's last step when the program ends.
    void Shutdown();

private:
    friend class TForm;
    void FormDestroyed(TForm* form);
    // The platform's parts of Run, Shutdown and the boxes. Where a box cannot
    // be shown, its text goes to standard error with `detail` behind it.
    void RunMessageLoop();
    void DestroyHandle();
    void ShowBox(const AnsiString& text, TMessageIcon icon, const AnsiString& detail);

    void* FHandle = nullptr;
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FShowingException = false;
};

extern TApplication* Application;

// Milliseconds since the system started; wraps after about 49.7 days.
uint32_t GetTickCount32();
