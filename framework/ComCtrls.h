#pragma once
// The progress bar.
#include "Controls.h"

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner);

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    void SetRange(int min, int max);
    int Position() const { return FPosition; }
    void SetPosition(int position);
    // Drawn in segments rather than as one smooth bar.
    bool Smooth = false;

protected:
    void CreateWnd() override;
    void BoundsChanged() override;

private:
    // Platform: shows the range and position in the window, if it has one.
    void ShowPosition();

    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
};
