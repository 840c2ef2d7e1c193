#include <windows.h>

#include "../Forms.h"
#include "../SysUtils.h"

namespace {
TApplication TheApplication;
}

TApplication* Application = &TheApplication;

void TApplication::Initialize()
{
    // Nothing is created here: a run that shows no window must not load the
    // windowing libraries at all.
}

void TApplication::ShowMessage(const AnsiString& text, TMessageIcon icon)
{
    UINT flags = MB_OK | MB_SETFOREGROUND | MB_TASKMODAL;
    if (icon == TMessageIcon::Stop)
        flags |= MB_ICONSTOP;
    MessageBoxA(nullptr, text.c_str(), Title.c_str(), flags);
}

void TApplication::ShowException(const std::exception& error)
{
    ShowMessage(ErrorBoxText(error.what()), TMessageIcon::Stop);
}
