#pragma once
// What the windowing layer's forms and controls show, read from the
// platform's own objects in this process (Win32 windows, GTK widgets), so
// that one test serves every platform.
#include <memory>
#include <string>

#include "ComCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

// A form on screen: its caption (UTF-8), whether its frame offers anything
// but moving it or lets it be resized, whether it stands in the middle of
// the screen, and its client area in pixels.
struct TFormSeen {
    bool Visible = false;
    std::string Caption;
    bool Buttons = true;
    bool Resizable = true;
    bool Centred = false;
    int ClientWidth = 0;
    int ClientHeight = 0;
};
// Read once what is pending has been applied (the toolkit lays out late).
TFormSeen ReadForm(TForm& form);

struct TBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TBounds&) const = default;
};
// Where a control's window lies in its form's client area, in pixels.
TBounds BoundsOnForm(TWinControl& control);
// A label's text as it is drawn and read out (UTF-8).
std::string ShownText(TLabel& label);
// How a label would lay out a text (UTF-8) in its own font were it `width`
// pixels wide: the lines it takes, the widest of them and their height.
struct TTextLayout {
    int Lines = 0;
    int Width = 0;
    int Height = 0;
};
TTextLayout LayOut(TLabel& label, const std::string& text, int width);
// A bar's position as its window shows it, in percent.
int BarPercent(TProgressBar& bar);
// Lets the platform apply what is pending.
void PumpEvents();
// Asks the form to close as the close button of its frame would.
void AskToClose(TForm& form);

// Counts the times that a label's text is written into its window.
class TTextWrites {
public:
    explicit TTextWrites(TLabel& label);
    ~TTextWrites();
    TTextWrites(const TTextWrites&) = delete;
    TTextWrites& operator=(const TTextWrites&) = delete;
    int Count() const { return FCount; }

private:
    void* FWindow;
    int FCount = 0;
};
