#include "ComCtrls.h"

#include <algorithm>

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {}

void TProgressBar::SetRange(int min, int max)
{
    FMin = min;
    FMax = std::max(min, max);
    FPosition = std::clamp(FPosition, FMin, FMax);
    ShowPosition();
}

void TProgressBar::SetPosition(int position)
{
    position = std::clamp(position, FMin, FMax);
    if (position == FPosition)
        return;
    FPosition = position;
    ShowPosition();
}
