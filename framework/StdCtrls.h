#pragma once
// Labels and memos.
#include "Classes.h"
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

class TMemo;

// The lines of a memo as the control shows them: a wrapped paragraph is one
// line per row. The text lives in the control alone, so every call asks its
// window (and creates it if needed). A final line break does not start a
// line of its own; Add and Insert put a line break behind the new line, or
// before it when the text does not end with one.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TMemo& memo) : FMemo(memo) {}

    int Count() const override;
    AnsiString Get(int index) const override;
    void Put(int index, const AnsiString& text) override;
    void Insert(int index, const AnsiString& text) override;
    void Delete(int index) override;
    void Clear() override;

private:
    TMemo& FMemo;
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit control; its text is in the system's ANSI code page.
class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* owner) : TWinControl(owner) {}

    TStrings* Lines() { return &FLines; }
    AnsiString Text();
    void SetText(const AnsiString& text);

    // The caret (and selection) in character indexes counted from 0; line
    // breaks count as two characters.
    int SelStart();
    void SetSelStart(int start);
    int SelLength();
    void SetSelLength(int length);

    // Set before the window is created.
    bool WordWrap = true;
    TScrollStyle ScrollBars = TScrollStyle::ssNone;

protected:
    void CreateWnd() override;
    void BoundsChanged() override;
    void FontChanged() override;

private:
    TMemoStrings FLines{*this};
};
