// The windowing layer's controls as real Win32 windows.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "TestProcess.h"
#include "TestWindows.h"

namespace {

class TTestForm : public TForm {
public:
    using TForm::TForm;
    const char* ClassName() const override { return "TTestForm"; }
};

RECT RectInParent(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int Scaled(const TForm& form, int pixels)
{
    return MulDiv(pixels, form.PixelsPerInch(), 96);
}

void ExpectBounds(const TControl& control, int left, int top, int width, int height)
{
    EXPECT_EQ(control.Left(), left) << control.Name;
    EXPECT_EQ(control.Top(), top) << control.Name;
    EXPECT_EQ(control.Width(), width) << control.Name;
    EXPECT_EQ(control.Height(), height) << control.Name;
}

TEST(Controls, ChildrenWithoutWindowComeFirstThenWindowedInInsertionOrder)
{
    TTestForm form(nullptr);
    auto* panelA = new TPanel(&form);
    auto* plainA = new TGraphicControl(&form);
    auto* panelB = new TPanel(&form);
    auto* plainB = new TGraphicControl(&form);
    for (TControl* control : std::initializer_list<TControl*>{panelA, plainA, panelB, plainB})
        control->SetParent(&form);
    ASSERT_EQ(form.ControlCount(), 4);
    EXPECT_EQ(form.Controls(0), plainA);
    EXPECT_EQ(form.Controls(1), plainB);
    EXPECT_EQ(form.Controls(2), panelA);
    EXPECT_EQ(form.Controls(3), panelB);
    // A windowed control gets its window when its handle is asked for.
    EXPECT_FALSE(panelB->HandleAllocated());
    EXPECT_TRUE(IsWindow(static_cast<HWND>(panelB->Handle())));
    EXPECT_TRUE(form.HandleAllocated());
    delete panelA;
    EXPECT_EQ(form.ControlCount(), 3);
    EXPECT_EQ(form.Controls(2), panelB);
}

TEST(Controls, AlignedPanelsShareTheClientAreaInsideBevels)
{
    TTestForm form(nullptr);
    form.SetClientSize(368, 195);
    auto* main = new TPanel(&form);
    main->Name = "main";
    main->BevelOuter = TBevelCut::bvLowered;
    main->SetParent(&form);
    main->SetAlign(TAlign::alClient);
    auto* upper = new TPanel(&form);
    upper->Name = "upper";
    upper->SetBounds(0, 0, 10, 144);
    upper->SetParent(main);
    upper->SetAlign(TAlign::alTop);
    auto* lower = new TPanel(&form);
    lower->Name = "lower";
    lower->SetParent(main);
    lower->SetAlign(TAlign::alClient);
    auto* right = new TPanel(&form);
    right->Name = "right";
    right->SetBounds(0, 0, 20, 5);
    right->SetParent(lower);
    right->SetAlign(TAlign::alRight);

    ExpectBounds(*main, 0, 0, 368, 195);
    ExpectBounds(*upper, 1, 1, 366, 144);
    ExpectBounds(*lower, 1, 145, 366, 49);
    ExpectBounds(*right, 345, 1, 20, 47);

    // The windows follow, scaled to the screen.
    form.Show();
    const RECT upperRect = RectInParent(static_cast<HWND>(upper->Handle()));
    EXPECT_EQ(upperRect.left, Scaled(form, 1));
    EXPECT_EQ(upperRect.bottom - upperRect.top, Scaled(form, 144));
    RECT client;
    GetClientRect(static_cast<HWND>(form.Handle()), &client);
    EXPECT_EQ(client.right, Scaled(form, 368));
    EXPECT_EQ(client.bottom, Scaled(form, 195));

    // Resizing the form realigns everything below it.
    form.SetClientSize(400, 300);
    ExpectBounds(*lower, 1, 145, 398, 154);
    ExpectBounds(*right, 377, 1, 20, 152);
}

// What the shared case cannot read of a Windows form: its window class, a
// caption without any button, not topmost, and owned by the application's
// window.
TEST(Forms, DialogFormHasItsClassACaptionAndTheApplicationAsItsOwner)
{
    TTestForm form(nullptr);
    form.BorderStyle = TBorderStyle::bsDialog;
    form.SystemMenu = false;
    form.SetClientSize(300, 100);
    form.Show();
    const auto window = static_cast<HWND>(form.Handle());
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "TTestForm");
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_CAPTION);
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(window, GW_OWNER), static_cast<HWND>(Application->Handle()));
}

int NameChanges = 0;
HWND NameWatched = nullptr;

void CALLBACK CountNameChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (window == NameWatched && object == OBJID_WINDOW && child == CHILDID_SELF)
        ++NameChanges;
}

// A label is a Static control, and screen readers are told of each change of
// its text once.
TEST(Labels, AreStaticControlsWhoseChangesScreenReadersHearOnce)
{
    TTestForm form(nullptr);
    form.SetClientSize(200, 100);
    auto* label = new TLabel(&form);
    label->SetBounds(10, 10, 100, 35);
    label->SetParent(&form);
    label->SetCaption("first");
    const auto window = static_cast<HWND>(label->Handle());
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "Static");
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE);

    NameWatched = window;
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
                                               CountNameChange, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    label->SetCaption("first");
    PumpMessages();
    EXPECT_EQ(NameChanges, 0);
    label->SetCaption("second");
    label->SetCaption("second");
    EXPECT_TRUE(WaitUntil([] { PumpMessages(); return NameChanges > 0; }, std::chrono::milliseconds(2000)));
    EXPECT_EQ(NameChanges, 1) << "screen readers are told of each change once";
    UnhookWinEvent(hook);
}

TEST(ProgressBar, IsTheStandardControlInSegmentsWithTheRangeOfAPercentage)
{
    TTestForm form(nullptr);
    auto* bar = new TProgressBar(&form);
    bar->SetBounds(0, 0, 100, 16);
    bar->SetParent(&form);
    const auto window = static_cast<HWND>(bar->Handle());
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, PROGRESS_CLASSA);
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & PBS_SMOOTH) << "segments, not a smooth bar";
    EXPECT_EQ(SendMessageA(window, PBM_GETRANGE, FALSE, 0), 100);
}

TEST(Timers, TickOnTheMessageLoopAndStopWithTheirOwner)
{
    int ticks = 0;
    {
        TTestForm form(nullptr);
        auto* timer = new TTimer(&form);
        timer->SetInterval(10);
        timer->OnTimer = [&ticks](TObject*) { ++ticks; };
        EXPECT_TRUE(WaitUntil([&] {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            return ticks >= 3;
        }));
        timer->SetEnabled(false);
        const int stopped = ticks;
        Sleep(50);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        EXPECT_EQ(ticks, stopped);
    }
}

} // namespace

namespace {

TEST(Memo, LinesAreTheRowsOfTheControl)
{
    TTestForm form(nullptr);
    auto* memo = new TMemo(&form);
    memo->SetBounds(0, 0, 300, 100);
    memo->SetParent(&form);
    TStrings& lines = *memo->Lines();
    EXPECT_EQ(lines.Count(), 0);
    lines.Add("one");
    lines.Add("two");
    EXPECT_EQ(memo->Text(), "one\r\ntwo\r\n");
    EXPECT_EQ(lines.Count(), 2) << "a final line break starts no line";

    const struct {
        const char* Name;
        const char* Before;
        void (*Operation)(TStrings&);
        const char* After;
        int Count;
    } cases[] = {
        {"add behind a last line without a break", "a\r\nb", [](TStrings& l) { l.Add("c"); }, "a\r\nb\r\nc", 3},
        {"insert at the top", "a\r\nb", [](TStrings& l) { l.Insert(0, "z"); }, "z\r\na\r\nb", 3},
        {"insert in the middle", "a\r\nb\r\n", [](TStrings& l) { l.Insert(1, "m"); }, "a\r\nm\r\nb\r\n", 3},
        {"replace a line", "a\r\nb\r\nc", [](TStrings& l) { l.Put(1, "B"); }, "a\r\nB\r\nc", 3},
        {"delete the first line", "a\r\nb\r\n", [](TStrings& l) { l.Delete(0); }, "b\r\n", 1},
        {"delete the last line", "a\r\nb", [](TStrings& l) { l.Delete(1); }, "a\r\n", 1},
        {"clear", "a\r\nb", [](TStrings& l) { l.Clear(); }, "", 0},
        {"empty line between", "a\r\n\r\nb", [](TStrings&) {}, "a\r\n\r\nb", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        memo->SetText(c.Before);
        c.Operation(lines);
        EXPECT_EQ(memo->Text(), c.After);
        EXPECT_EQ(lines.Count(), c.Count);
    }

    memo->SetText("first\r\n\r\nthird line");
    EXPECT_EQ(lines[0], "first");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "third line");
    EXPECT_THROW(lines.Get(3), EStringListError);
    EXPECT_THROW(lines.Get(-1), EStringListError);
    EXPECT_THROW(lines.Insert(4, "x"), EStringListError);
    EXPECT_THROW(lines.Delete(3), EStringListError);
    EXPECT_EQ(memo->Text(), "first\r\n\r\nthird line");

    memo->SetSelStart(7);
    memo->SetSelLength(2);
    EXPECT_EQ(memo->SelStart(), 7);
    EXPECT_EQ(memo->SelLength(), 2);
}

TEST(Application, MessageEventSeesMessagesBeforeDispatchAndMayKeepThem)
{
    TTestForm* form = nullptr;
    Application->CreateForm(form);
    Application->ShowMainForm = false;
    const HWND window = static_cast<HWND>(form->Handle());
    std::vector<TMsg> closes;
    // The first close request is handled here and never reaches the form.
    Application->OnMessage = [&](TMsg& message, bool& handled) {
        if (message.message != WM_CLOSE)
            return;
        closes.push_back(message);
        handled = closes.size() == 1;
    };
    PostMessageA(window, WM_CLOSE, 7, -5);
    PostMessageA(window, WM_CLOSE, 0, 0);
    Application->Run();
    Application->OnMessage = nullptr;
    ASSERT_EQ(closes.size(), 2u);
    EXPECT_EQ(closes[0].hwnd, window);
    EXPECT_EQ(closes[0].wParam, 7u);
    EXPECT_EQ(closes[0].lParam, -5);
    Application->Shutdown();
}

TEST(Menus, MergedItemsAreFoundUntilEitherMenuGoes)
{
    TComponent owner(nullptr);
    TPopupMenu menu(&owner);
    auto* sub = new TMenuItem(&owner);
    auto* nested = new TMenuItem(&owner);
    menu.Items()->Add(sub);
    sub->Add(nested);
    EXPECT_EQ(menu.FindItem(nested->Command()), nested);
    EXPECT_EQ(menu.FindItem(menu.Items()->Command()), nullptr) << "the root is no item of the menu";

    auto* merged = new TPopupMenu(&owner);
    auto* foreign = new TMenuItem(&owner);
    merged->Items()->Add(foreign);
    EXPECT_EQ(menu.FindItem(foreign->Command()), nullptr);
    menu.Merge(merged);
    EXPECT_EQ(menu.FindItem(foreign->Command()), foreign);
    EXPECT_THROW(merged->Merge(&menu), Exception) << "no menu may end up inside itself";
    EXPECT_THROW(menu.Merge(&menu), Exception);
    EXPECT_EQ(menu.FindItem(foreign->Command()), foreign);

    int clicks = 0;
    foreign->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_TRUE(TPopupMenu::DispatchCommand(foreign->Command()));
    EXPECT_EQ(clicks, 1);
    const unsigned gone = foreign->Command();
    delete merged;
    EXPECT_EQ(menu.FindItem(gone), nullptr);
    EXPECT_FALSE(TPopupMenu::DispatchCommand(gone));
}

} // namespace
