#pragma once
// Components and controls of the windowing layer. This header and
// Controls.cpp hold what every platform shares (ownership, the control tree,
// bounds and alignment in 96-dpi pixels, texts); the platform files create
// and update the real windows.
#include <cstdint>
#include <functional>
#include <vector>

#include "AnsiString.h"

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// A component deletes the components it owns when it is deleted itself.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents[static_cast<size_t>(index)]; }
    // Deletes every owned component, the newest first.
    void DestroyComponents();

    AnsiString Name;

private:
    TComponent* FOwner;
    std::vector<TComponent*> FComponents;
};

// Colours as 0x00BBGGRR, or one of the system colours below.
using TColor = uint32_t;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clWindowText = 0x80000008;

struct TFont {
    AnsiString Name = "MS Sans Serif";
    int Height = 11; // character height in pixels at 96 dpi
    TColor Color = clWindowText;
    bool Bold = false;

    bool operator==(const TFont&) const = default;
};

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

class TWinControl;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    void SetParent(TWinControl* parent);
    virtual bool IsWindowed() const { return false; }

    // Bounds in the parent's client area, in pixels at 96 dpi.
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetBounds(int left, int top, int width, int height);

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign align);

    // The control's text: a label's or panel's caption, a form's title. In
    // UTF-8; a text that is not well-formed UTF-8 is taken in the system's
    // ANSI code page, so single-byte callers keep working.
    const AnsiString& Caption() const { return FCaption; }
    // Reaches the window (and whoever watches it) only when the text changes.
    void SetCaption(const AnsiString& caption);

    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& font);

    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);

protected:
    friend class TWinControl;
    // Platform hooks, called only while the control has its window.
    virtual void BoundsChanged() {}
    virtual void CaptionChanged() {}
    virtual void FontChanged() {}
    virtual void VisibleChanged() {}

private:
    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    TAlign FAlign = TAlign::alNone;
    AnsiString FCaption;
    TFont FFont;
    bool FVisible = true;
};

// A control with a window of its own, which is created when its handle is
// first asked for (or when its parent's window is created).
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    bool IsWindowed() const override { return true; }

    // The platform window; creates it (and its parents') when needed.
    void* Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }

    // Children without a window first, then windowed ones, each in the order
    // they were inserted.
    int ControlCount() const;
    TControl* Controls(int index) const;

    // The area children are placed and aligned in, in 96-dpi pixels.
    virtual TRect ClientRect() const;
    // Where aligned children go: the client area less borders and bevels.
    virtual TRect AlignRect() const { return ClientRect(); }
    void AlignControls();

protected:
    friend class TControl;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);

    // Platform: creates the window into FHandle, with the control's bounds,
    // text and font.
    virtual void CreateWnd() = 0;
    // Platform: destroys the window, and with it the children's windows.
    void DestroyWnd();
    // The children's windows went with this one's.
    void ForgetChildHandles();
    // The window's scale in dots per inch (96 until it has a window): its
    // top-level control's.
    int Dpi() const;
    // The scale of a control that has no parent; a form knows its screen's.
    virtual int TopLevelDpi() const { return 96; }

    void* FHandle = nullptr;

private:
    void CreateChildHandles();

    bool FAligning = false;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FWinControls;
};

// A control that draws on its parent and has no window of its own.
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
};
