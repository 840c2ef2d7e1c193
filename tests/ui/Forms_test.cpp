// The windowing layer's forms and controls as the platform's own windows, in
// this process, the same cases on every platform (FormView.h).
#include <gtest/gtest.h>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "FormView.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "WaitUntil.h"

namespace {

using namespace std::chrono_literals;

class TTestForm : public TForm {
public:
    using TForm::TForm;
    const char* ClassName() const override { return "TTestForm"; }
};

TBounds Scaled(const TForm& form, TBounds bounds)
{
    const auto scale = [&form](int pixels) { return (pixels * form.PixelsPerInch() + 48) / 96; };
    return {scale(bounds.Left), scale(bounds.Top), scale(bounds.Width), scale(bounds.Height)};
}

TEST(Forms, DialogIsCentredWithoutButtonsAndItsControlsLieAtTheirScaledBounds)
{
    TTestForm form(nullptr);
    form.BorderStyle = TBorderStyle::bsDialog;
    form.SystemMenu = false;
    form.Position = TPosition::poScreenCenter;
    form.SetClientSize(368, 195);
    form.SetCaption("Caption \xFC");
    auto* panel = new TPanel(&form);
    panel->BevelOuter = TBevelCut::bvLowered;
    panel->SetParent(&form);
    panel->SetAlign(TAlign::alClient);
    auto* label = new TLabel(&form);
    label->SetBounds(50, 32, 265, 35);
    label->SetParent(panel);
    auto* bar = new TProgressBar(&form);
    bar->SetBounds(16, 150, 337, 16);
    bar->SetParent(panel);
    bar->SetPosition(30);
    EXPECT_FALSE(ReadForm(form).Visible) << "a form appears only when shown";
    form.Show();

    const TFormSeen seen = ReadForm(form);
    EXPECT_TRUE(seen.Visible);
    EXPECT_EQ(seen.Caption, "Caption \xC3\xBC");
    EXPECT_FALSE(seen.Buttons);
    EXPECT_FALSE(seen.Resizable);
    EXPECT_TRUE(seen.Centred);
    const TBounds client = Scaled(form, {0, 0, 368, 195});
    EXPECT_EQ(seen.ClientWidth, client.Width);
    EXPECT_EQ(seen.ClientHeight, client.Height);
    EXPECT_EQ(BoundsOnForm(*label), Scaled(form, {50, 32, 265, 35}));
    EXPECT_EQ(BarPercent(*bar), 30);
    bar->SetPosition(150);
    EXPECT_EQ(bar->Position(), 100);
    EXPECT_EQ(BarPercent(*bar), 100);

    // A text far longer than the box is cut off there: neither the label nor
    // the window grows.
    AnsiString text;
    for (int i = 0; i < 40; ++i)
        text += "word\r\n";
    label->SetCaption(text);
    WaitUntil([] { PumpEvents(); return false; }, 200ms);
    EXPECT_EQ(BoundsOnForm(*label), Scaled(form, {50, 32, 265, 35}));
    EXPECT_EQ(ReadForm(form).ClientHeight, client.Height);

    // Moving a control moves its window; the caption follows too.
    label->SetBounds(20, 80, 100, 20);
    WaitUntil([] { PumpEvents(); return false; }, 200ms);
    EXPECT_EQ(BoundsOnForm(*label), Scaled(form, {20, 80, 100, 20}));
    form.SetCaption("Other");
    EXPECT_EQ(ReadForm(form).Caption, "Other");
}

TEST(Forms, CloseRequestOfTheMainFormEndsTheLoop)
{
    TTestForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_EQ(Application->MainForm(), form);
    form->SetClientSize(100, 50);
    auto* timer = new TTimer(form);
    timer->SetInterval(50);
    timer->OnTimer = [form](TObject*) { AskToClose(*form); };
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(form->HandleAllocated()) << "the form lives until the framework shuts down";
    Application->Shutdown();
    EXPECT_EQ(Application->MainForm(), nullptr);
}

// "&" underlines the next character, "&&" shows one; a text is not markup;
// and it reaches the window only when it changes, so that screen readers are
// not told of every repeated write.
TEST(Labels, ShowTheirTextAsDrawnAndWriteItOnlyWhenItChanges)
{
    TTestForm form(nullptr);
    form.SetClientSize(200, 100);
    auto* label = new TLabel(&form);
    label->SetBounds(10, 10, 180, 35);
    label->SetParent(&form);
    const struct {
        const char* Caption;
        const char* Shown;
    } cases[] = {
        {"a&b&&c_d", "ab&c_d"},
        {"&&&x", "&x"},
        {"end&", "end"},
        {"x&_y", "x_y"},
        {"B\xFCro \x80 100%", "B\xC3\xBCro \xE2\x82\xAC 100%"},
        {"<b>not markup</b>", "<b>not markup</b>"},
    };
    for (const auto& item : cases) {
        label->SetCaption(item.Caption);
        EXPECT_EQ(ShownText(*label), item.Shown) << item.Caption;
    }

    const TTextWrites writes(*label);
    label->SetCaption("<b>not markup</b>");
    EXPECT_EQ(writes.Count(), 0);
    label->SetCaption("second");
    label->SetCaption("second");
    EXPECT_EQ(writes.Count(), 1);
    EXPECT_EQ(ShownText(*label), "second");
}

} // namespace
