// The parts of forms and the application object that every platform shares.
#include "Forms.h"

#include "SysUtils.h"

namespace {

TApplication TheApplication;

} // namespace

TApplication* Application = &TheApplication;

TForm::TForm(TComponent* owner) : TWinControl(owner)
{
    // A form appears when it is shown, not when it is built.
    SetVisible(false);
}

TForm::~TForm()
{
    if (OnDestroy)
        OnDestroy(this);
    if (Application->MainForm() == this)
        Application->FormDestroyed(this);
}

void TForm::Show()
{
    Handle();
    SetVisible(true);
}

void TForm::Close()
{
    if (Application->MainForm() == this)
        Application->Terminate();
    else
        SetVisible(false);
}

TApplication::TApplication() : TComponent(nullptr) {}

void TApplication::Initialize()
{
    // Nothing is created here: a run that shows no window must not load the
    // windowing libraries at all.
}

void TApplication::Run()
{
    if (FMainForm != nullptr && ShowMainForm)
        FMainForm->Show();
    RunMessageLoop();
    FTerminated = true;
}

void TApplication::Shutdown()
{
    DestroyComponents();
    if (FHandle != nullptr) {
        DestroyHandle();
        FHandle = nullptr;
    }
}

void TApplication::ShowMessage(const AnsiString& text, TMessageIcon icon)
{
    ShowBox(text, icon, AnsiString());
}

void TApplication::ShowException(const std::exception& error)
{
    ShowBox(ErrorBoxText(error.what()), TMessageIcon::Stop, ErrorDetail(error));
}

void TApplication::HandleException(const std::exception& error)
{
    if (FShowingException)
        return;
    FShowingException = true;
    try {
        ShowException(error);
    } catch (...) {
        // Showing the box failed (out of memory, say): nothing more to do.
    }
    FShowingException = false;
}

void TApplication::FormDestroyed(TForm* form)
{
    if (FMainForm == form)
        FMainForm = nullptr;
}
