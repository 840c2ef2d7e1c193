#include "Controls.h"

#include <algorithm>


TComponent::TComponent(TComponent* owner) : FOwner(owner)
{
    if (FOwner != nullptr)
        FOwner->FComponents.push_back(this);
}

TComponent::~TComponent()
{
    DestroyComponents();
    if (FOwner != nullptr)
        std::erase(FOwner->FComponents, this);
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty())
        delete FComponents.back();
}

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl()
{
    if (FParent != nullptr)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == FParent)
        return;
    if (FParent != nullptr)
        FParent->RemoveControl(this);
    if (parent != nullptr)
        parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    BoundsChanged();
    if (IsWindowed())
        static_cast<TWinControl*>(this)->AlignControls();
    if (FParent != nullptr && FAlign != TAlign::alNone)
        FParent->AlignControls();
}

void TControl::SetAlign(TAlign align)
{
    FAlign = align;
    if (FParent != nullptr)
        FParent->AlignControls();
}

void TControl::SetCaption(const AnsiString& caption)
{
    if (caption == FCaption)
        return;
    FCaption = caption;
    CaptionChanged();
}

void TControl::SetFont(const TFont& font)
{
    if (font == FFont)
        return;
    FFont = font;
    FontChanged();
}

void TControl::SetVisible(bool visible)
{
    if (visible == FVisible)
        return;
    FVisible = visible;
    VisibleChanged();
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    DestroyWnd();
    // Children usually belong to the form and are deleted after it; until
    // then they have no parent.
    for (TControl* child : FControls)
        child->FParent = nullptr;
    for (TWinControl* child : FWinControls)
        child->FParent = nullptr;
}

void TWinControl::ForgetChildHandles()
{
    for (TWinControl* child : FWinControls) {
        child->FHandle = nullptr;
        child->ForgetChildHandles();
    }
}

void* TWinControl::Handle()
{
    if (FHandle == nullptr) {
        if (Parent() != nullptr)
            Parent()->Handle();
        // Creating the parent creates its children, this one among them.
        if (FHandle == nullptr) {
            CreateWnd();
            CreateChildHandles();
        }
    }
    return FHandle;
}

void TWinControl::CreateChildHandles()
{
    for (TWinControl* child : FWinControls)
        if (!child->HandleAllocated()) {
            child->CreateWnd();
            child->CreateChildHandles();
        }
}

int TWinControl::ControlCount() const
{
    return static_cast<int>(FControls.size() + FWinControls.size());
}

TControl* TWinControl::Controls(int index) const
{
    const auto plain = static_cast<int>(FControls.size());
    if (index < plain)
        return FControls[static_cast<size_t>(index)];
    return FWinControls[static_cast<size_t>(index - plain)];
}

void TWinControl::InsertControl(TControl* control)
{
    if (control->IsWindowed()) {
        auto* windowed = static_cast<TWinControl*>(control);
        FWinControls.push_back(windowed);
        control->FParent = this;
        if (HandleAllocated())
            windowed->Handle();
    } else {
        FControls.push_back(control);
        control->FParent = this;
    }
    if (control->Align() != TAlign::alNone)
        AlignControls();
}

void TWinControl::RemoveControl(TControl* control)
{
    std::erase(FControls, control);
    // Compared as controls: a control that is being destroyed is no longer
    // a TWinControl, and casting down to one would be undefined.
    std::erase_if(FWinControls, [control](const TWinControl* child) { return child == control; });
    control->FParent = nullptr;
    if (control->Align() != TAlign::alNone)
        AlignControls();
}

TRect TWinControl::ClientRect() const
{
    return TRect{0, 0, Width(), Height()};
}

void TWinControl::AlignControls()
{
    // Placing a child can ask its parent to align again; once is enough.
    if (FAligning)
        return;
    FAligning = true;
    TRect rest = AlignRect();
    const auto place = [](TControl* control, int left, int top, int width, int height) {
        control->SetBounds(left, top, std::max(width, 0), std::max(height, 0));
    };
    // Top, bottom, left and right take their strips in that order and in the
    // children's order; the client-aligned ones share what is left.
    for (TAlign align : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* control = Controls(i);
            if (control->Align() != align || !control->Visible())
                continue;
            switch (align) {
            case TAlign::alTop:
                place(control, rest.Left, rest.Top, rest.Width(), control->Height());
                rest.Top += control->Height();
                break;
            case TAlign::alBottom:
                place(control, rest.Left, rest.Bottom - control->Height(), rest.Width(), control->Height());
                rest.Bottom -= control->Height();
                break;
            case TAlign::alLeft:
                place(control, rest.Left, rest.Top, control->Width(), rest.Height());
                rest.Left += control->Width();
                break;
            case TAlign::alRight:
                place(control, rest.Right - control->Width(), rest.Top, control->Width(), rest.Height());
                rest.Right -= control->Width();
                break;
            case TAlign::alClient:
                place(control, rest.Left, rest.Top, rest.Width(), rest.Height());
                break;
            case TAlign::alNone:
                break;
            }
        }
    }
    FAligning = false;
}

int TWinControl::Dpi() const
{
    const TWinControl* top = this;
    while (top->Parent() != nullptr)
        top = top->Parent();
    return top->TopLevelDpi();
}
