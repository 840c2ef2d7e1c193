#pragma once
// Labels.
#include "Controls.h"

// Text in a real static control: drawn from its top-left corner, wrapped at
// word boundaries, tabs expanded, cut off at its lower edge; "&" underlines
// the next character and "&&" draws one "&".
class TLabel : public TWinControl {
public:
    explicit TLabel(TComponent* owner);

    bool WordWrap = true;

protected:
    void CreateWnd() override;
    void BoundsChanged() override;
    void CaptionChanged() override;
    void FontChanged() override;
};
