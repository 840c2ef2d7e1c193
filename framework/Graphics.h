#pragma once
// Measuring text on a form's window.
#include "AnsiString.h"
#include "Controls.h"

class TForm;

struct TSize {
    int cx = 0;
    int cy = 0;
};

// The drawing surface of a form. Sizes are in the window's own pixels (the
// form's scale applied), as the window's controls report their positions.
class TCanvas {
public:
    explicit TCanvas(TForm& form) : FForm(form) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The font that text is measured in; callers may change it at will.
    TFont Font;

    // Platform: the size of one line of `text` in Font; creates the form's
    // window when it has none.
    TSize TextExtent(const AnsiString& text);
    int TextWidth(const AnsiString& text) { return TextExtent(text).cx; }
    int TextHeight(const AnsiString& text) { return TextExtent(text).cy; }

private:
    TForm& FForm;
};
