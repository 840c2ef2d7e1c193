#pragma once
// Panels and timers.
#include "Controls.h"

enum class TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* owner);

    TBevelCut BevelOuter = TBevelCut::bvRaised;
    int BevelWidth = 1;

    // Aligned children keep clear of the bevel.
    TRect AlignRect() const override;

protected:
    void CreateWnd() override;
    void BoundsChanged() override;
};

// Calls OnTimer every Interval milliseconds while enabled, on the thread
// that runs the message loop.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned milliseconds);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);

    TNotifyEvent OnTimer;

    // Platform: delivers one tick; exceptions go to the application.
    void Tick();

private:
    void Restart();
    void Stop();

    unsigned FInterval = 1000;
    bool FEnabled = true;
    uintptr_t FId = 0;
};
