#include "ExtCtrls.h"

#include "Consts.h"
#include "Forms.h"
#include "SysUtils.h"

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {}

TRect TPanel::AlignRect() const
{
    TRect rect = ClientRect();
    if (BevelOuter != TBevelCut::bvNone) {
        rect.Left += BevelWidth;
        rect.Top += BevelWidth;
        rect.Right -= BevelWidth;
        rect.Bottom -= BevelWidth;
    }
    return rect;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner)
{
    Restart();
}

TTimer::~TTimer()
{
    Stop();
}

void TTimer::SetInterval(unsigned milliseconds)
{
    FInterval = milliseconds;
    Restart();
}

void TTimer::SetEnabled(bool enabled)
{
    FEnabled = enabled;
    Restart();
}

void TTimer::Tick()
{
    if (!OnTimer)
        return;
    try {
        OnTimer(this);
    } catch (const std::exception& error) {
        Application->HandleException(error);
    } catch (...) {
        Application->HandleException(Exception(SUnknownException));
    }
}
