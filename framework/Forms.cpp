// The parts of forms and the application object that every platform shares.
#include "Forms.h"

#include "SysUtils.h"

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

void TApplication::ShowException(const std::exception& error)
{
    ShowMessage(ErrorBoxText(error.what()), TMessageIcon::Stop);
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
