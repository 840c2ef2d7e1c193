// The library's window and control helpers on real windows and controls.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <map>
#include <thread>

#include "Classes.h"
#include "ExtCtrls.h"
#include "FakeAnimation.h"
#include "Forms.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "TestProcess.h"
#include "TestWindows.h"
#include "UtilsKx.h"
#include "UtilsKxInternal_win32.h"

using namespace NUtilsKx;

namespace {

class TTestForm : public TForm {
public:
    using TForm::TForm;
    const char* ClassName() const override { return "TTestForm"; }
};

// ---- Fonts -------------------------------------------------------------------

int CALLBACK CountFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM counts)
{
    ++(*reinterpret_cast<std::map<AnsiString, int>*>(counts))[font->lfFaceName];
    return 1;
}

// How often the system reports each face name for all character sets.
std::map<AnsiString, int> ReportedFaces(HDC dc)
{
    std::map<AnsiString, int> counts;
    LOGFONTA all{};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(dc, &all, CountFace, reinterpret_cast<LPARAM>(&counts), 0);
    return counts;
}

TEST(LoadFontList, AddsEachFaceOnceAndKeepsWhatTheListHeld)
{
    const TWindowDC dc(nullptr);
    const auto reported = ReportedFaces(dc.Get());
    ASSERT_FALSE(reported.empty());
    // A face whose capitals differ from it, so that only the list's rules
    // decide whether the two names are the same; some faces ("Z003") are
    // capitals already.
    AnsiString repeated;
    for (const auto& [face, count] : reported)
        if (count > 1 && AnsiUpperCase(face) != face)
            repeated = face;
    ASSERT_FALSE(repeated.empty()) << "no face with small letters is reported for more than one character set";
    const AnsiString shouted = AnsiUpperCase(repeated);

    // The list's own rules decide what counts as held already.
    for (const bool caseSensitive : {false, true}) {
        SCOPED_TRACE(caseSensitive ? "case-sensitive list" : "list that ignores case");
        TStringList list;
        list.SetCaseSensitive(caseSensitive);
        list.Add("zz earlier name");
        list.Add(shouted);
        LoadFontList(dc.Get(), &list);

        EXPECT_EQ(list[0], "zz earlier name");
        EXPECT_EQ(list[1], shouted);
        std::map<AnsiString, int> listed;
        for (int i = 0; i < list.Count(); ++i)
            ++listed[list[i]];
        for (const auto& [face, count] : reported) {
            if (face != repeated || caseSensitive) {
                EXPECT_EQ(listed[face], 1) << face;
            }
        }
        EXPECT_EQ(list.Count(), static_cast<int>(reported.size()) + (caseSensitive ? 2 : 1));
    }
}

// A list that refuses its third name: the failure reaches the caller, not
// the system's enumeration.
class TRefusingList : public TStringList {
public:
    int Add(const AnsiString& text) override
    {
        if (Count() == 2)
            throw EStringListError("full");
        return TStringList::Add(text);
    }
};

TEST(LoadFontList, FailureOfTheListReachesTheCaller)
{
    const TWindowDC dc(nullptr);
    TRefusingList list;
    EXPECT_THROW(LoadFontList(dc.Get(), &list), EStringListError);
    EXPECT_EQ(list.Count(), 2);
}

// ---- Memo caret --------------------------------------------------------------

HWND Window(TWinControl* control)
{
    return static_cast<HWND>(control->Handle());
}

// Where the control itself draws the caret once it has the focus.
POINT SystemCaret(TMemo* memo)
{
    SetFocus(Window(memo));
    POINT caret{-2, -2};
    GetCaretPos(&caret);
    return caret;
}

TEST(GetMemoCaretPos, WhereTheControlDrawsTheCaretOrNothingOutOfView)
{
    AnsiString lines;
    for (int i = 0; i < 30; ++i)
        lines += Format("line %d\r\n", i);
    const auto end = static_cast<int>(lines.size());
    const struct {
        const char* Name;
        AnsiString Text;
        int Caret;
        int FirstLine; // the first visible line
        int Columns;   // scrolled right
        bool Visible;
    } cases[] = {
        {"empty memo", "", 0, 0, 0, true},
        {"inside the text", "abc\r\ndef", 5, 0, 0, true},
        {"behind the last character", "abc", 3, 0, 0, true},
        {"behind the last character of a second line", "abc\r\nxyW", 8, 1, 0, true},
        {"behind a final line break", "abc\r\n", 5, 0, 0, true},
        // The line break's own position lies above the view: its negative y
        // plus one line is the top of the view.
        {"behind a final line break whose own line is scrolled away", "abc\r\ndef\r\n", 10, 2, 0, true},
        {"above the first visible line", lines, 0, 20, 0, false},
        {"below the last visible line", lines, 200, 0, 0, false},
        {"behind the final line break, below the view", lines, end, 0, 0, false},
        {"behind the last character, below the view", lines + "end", end + 3, 0, 0, false},
        {"left of the view", AnsiString(200, 'w'), 0, 0, 100, false},
    };
    // Every case gets a memo of its own on one shown form (Wine takes a while
    // to hide a top-level window). The memo's font is not the canvas's, so
    // that measuring in the wrong one shows.
    TTestForm form(nullptr);
    form.SetClientSize(300, 200);
    form.Show();
    const TFont canvasFont{"Courier New", 8, clWindowText, false};
    form.Canvas()->Font = canvasFont;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* memo = new TMemo(&form);
        memo->SetBounds(10, 10, 200, 40); // one line high
        memo->WordWrap = false;
        memo->SetFont(TFont{"Tahoma", 24, clWindowText, true});
        memo->SetParent(&form);
        memo->SetText(c.Text);
        // Placing the caret may scroll it into view; scroll where the case says.
        memo->SetSelStart(c.Caret);
        const LRESULT firstLine = SendMessageA(Window(memo), EM_GETFIRSTVISIBLELINE, 0, 0);
        SendMessageA(Window(memo), EM_LINESCROLL, c.Columns, c.FirstLine - firstLine);
        ASSERT_EQ(SendMessageA(Window(memo), EM_GETFIRSTVISIBLELINE, 0, 0), c.FirstLine);
        const POINT expected = c.Visible ? SystemCaret(memo) : POINT{-1, -1};

        POINT position{5, 5};
        EXPECT_EQ(GetMemoCaretPos(memo, position), c.Visible);
        EXPECT_EQ(position.x, expected.x);
        EXPECT_EQ(position.y, expected.y);
        EXPECT_EQ(form.Canvas()->Font, canvasFont) << "the canvas gets its font back";
        EXPECT_EQ(memo->SelStart(), c.Caret);
        delete memo;
    }
}

TEST(GetMemoCaretPos, MemoOnNoFormHasNoPosition)
{
    TPanel panel(nullptr);
    auto* memo = new TMemo(&panel);
    memo->SetParent(&panel);
    POINT position{5, 5};
    EXPECT_FALSE(GetMemoCaretPos(memo, position));
    EXPECT_EQ(position.x, -1);
    EXPECT_EQ(position.y, -1);
    EXPECT_FALSE(memo->HandleAllocated());
    EXPECT_FALSE(GetMemoCaretPos(nullptr, position));
}

// ---- Popup menus -------------------------------------------------------------

// Popup menus with items, one merged into the other, and their clicks
// counted. They belong to a shown form.
struct TMenus {
    TPopupMenu* Menu;
    TPopupMenu* Merged;
    TPopupMenu* Other;
    TMenuItem* First;
    TMenuItem* Sub;
    TMenuItem* Nested;
    TMenuItem* FromMerged;
    TMenuItem* Elsewhere;
    std::vector<TMenuItem*> Clicked;

    explicit TMenus(TForm& form)
        : Menu(new TPopupMenu(&form)), Merged(new TPopupMenu(&form)), Other(new TPopupMenu(&form)),
          First(Item(Menu->Items(), "&First")), Sub(Item(Menu->Items(), "&Sub")), Nested(Item(Sub, "&Nested")),
          FromMerged(Item(Merged->Items(), "&Merged")), Elsewhere(Item(Other->Items(), "&Elsewhere"))
    {
        Menu->Merge(Merged);
        PumpMessages();
    }
    ~TMenus()
    {
        PumpMessages();
        delete Menu;
        delete Merged;
        delete Other;
    }

    TMenuItem* Item(TMenuItem* parent, const char* caption)
    {
        auto* item = new TMenuItem(parent);
        item->Caption = caption;
        item->OnClick = [this](TObject* sender) { Clicked.push_back(static_cast<TMenuItem*>(sender)); };
        parent->Add(item);
        return item;
    }
};

// The next message in the thread's queue, left there.
bool PeekCommand(MSG& message)
{
    return PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message == WM_COMMAND;
}

// Typed characters for the menu that opens next: it picks its items by
// their underlined letters.
void PostKeys(const char* keys)
{
    for (const char* key = keys; *key != 0; ++key)
        PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(*key), 1);
}

// Restores the application's message event on every way out.
struct TMessageEventGuard {
    ~TMessageEventGuard() { Application->OnMessage = nullptr; }
};

TEST(ProcessPopMenuMessage, ChosenCommandIsCarriedOutAtOnce)
{
    const struct {
        const char* Name;
        const char* Keys;
        TMenuItem* TMenus::*Item;
    } cases[] = {
        {"an item of the menu", "f", &TMenus::First},
        {"an item of a submenu", "sn", &TMenus::Nested},
        {"an item of the merged menu", "m", &TMenus::FromMerged},
    };
    TTestForm form(nullptr);
    form.Show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TMenus menus(form);
        TMessageEventGuard guard;
        std::vector<unsigned> seen;
        // The message event sees the command first and lets it pass.
        Application->OnMessage = [&](TMsg& message, bool&) {
            EXPECT_TRUE(menus.Clicked.empty());
            seen.push_back(message.message);
        };
        SetFocus(Window(&form));
        PostKeys(c.Keys);
        menus.Menu->Popup(100, 100);
        MSG queued;
        ASSERT_TRUE(PeekCommand(queued)) << "the menu leaves its command in the queue";
        EXPECT_EQ(LOWORD(queued.wParam), (menus.*c.Item)->Command());
        EXPECT_TRUE(menus.Clicked.empty());

        EXPECT_TRUE(ProcessPopMenuMessage(menus.Menu));
        EXPECT_EQ(seen, std::vector<unsigned>{WM_COMMAND});
        ASSERT_EQ(menus.Clicked.size(), 1u);
        EXPECT_EQ(menus.Clicked[0], menus.*c.Item);
        EXPECT_FALSE(PeekCommand(queued));
    }
}

TEST(ProcessPopMenuMessage, LeavesTheQueueAloneForOtherMessages)
{
    TTestForm form(nullptr);
    TMenus menus(form);
    TMessageEventGuard guard;
    const HWND window = Window(&form);
    EXPECT_FALSE(ProcessPopMenuMessage(menus.Menu)) << "empty queue";

    int seen = 0;
    Application->OnMessage = [&](TMsg& message, bool& handled) {
        ++seen;
        EXPECT_EQ(message.message, static_cast<unsigned>(WM_COMMAND));
        EXPECT_EQ(message.hwnd, window);
        handled = true;
    };
    const struct {
        const char* Name;
        WPARAM WParam;
        int Seen;
    } cases[] = {
        {"command of another menu", MAKEWPARAM(menus.Elsewhere->Command(), 0), 0},
        {"command of an accelerator", MAKEWPARAM(menus.First->Command(), 1), 0},
        {"command handled by the message event", MAKEWPARAM(menus.First->Command(), 0), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        seen = 0;
        ASSERT_TRUE(PostMessageA(window, WM_COMMAND, c.WParam, 0));
        EXPECT_FALSE(ProcessPopMenuMessage(menus.Menu));
        EXPECT_EQ(seen, c.Seen);
        MSG queued;
        ASSERT_TRUE(PeekCommand(queued)) << "still queued";
        EXPECT_EQ(queued.wParam, c.WParam);
        PeekMessageA(&queued, nullptr, 0, 0, PM_REMOVE);
    }
    EXPECT_FALSE(ProcessPopMenuMessage(nullptr));
    EXPECT_TRUE(menus.Clicked.empty());
}

// ---- The foreground ----------------------------------------------------------

// ---- Window animation --------------------------------------------------------

using TCalls = std::vector<AnsiString>;

LRESULT CALLBACK LogShow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_SHOWWINDOW)
        TFakeAnimation::Calls.push_back(Format("show with %d", TFakeAnimation::Value));
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST(ShowWinNoAnimate, ShowsWithTheAnimationOffAndSetsItBack)
{
    const struct {
        const char* Name;
        int Animation;
        bool QueryFails;
        TCalls Calls;
    } cases[] = {
        {"animation on", 3, false, {"get", "set 0", "show with 0", "set 3"}},
        {"animation off: never written", 0, false, {"get", "show with 0"}},
        {"setting unreadable: never written", 3, true, {"get", "show with 3"}},
    };
    // Child windows of a hidden window: showing them involves no display.
    TPopupWindow parent;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TWindowHandle window(CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 50, 50, parent.Get(), nullptr,
                                                   GetModuleHandleA(nullptr), nullptr));
        ASSERT_TRUE(SetWindowSubclass(window.Get(), LogShow, 1, 0));
        TAnimationSeam seam(c.Animation, c.QueryFails);
        ShowWinNoAnimate(window.Get(), SW_SHOWNOACTIVATE);
        EXPECT_TRUE(GetWindowLongA(window.Get(), GWL_STYLE) & WS_VISIBLE);
        EXPECT_EQ(TFakeAnimation::Calls, c.Calls);
        EXPECT_EQ(TFakeAnimation::Value, c.Animation);
        RemoveWindowSubclass(window.Get(), LogShow, 1);
    }
}

TEST(ShowMinimizedOnStartup, ActsOnlyOnAMinimisedStartWithoutActivation)
{
    // Each case is a probe process started with a show state of its own.
    const struct {
        const char* Name;
        int Show;
        const char* Phase;
        int Animation;
        const char* Expected;
    } cases[] = {
        {"minimised without activation, before the run", SW_SHOWMINNOACTIVE, "before", 3,
         "show=7\nshowMainForm=0\nminimizedStyle=1\nanimation=\n"},
        {"minimised without activation, running", SW_SHOWMINNOACTIVE, "running", 3,
         "show=7\niconic=1\nanimation=get,set 0,minimise with 0,set 3\n"},
        {"minimised without activation, running, animation off", SW_SHOWMINNOACTIVE, "running", 0,
         "show=7\niconic=1\nanimation=get,minimise with 0\n"},
        {"normal start, before the run", SW_SHOWNORMAL, "before", 3,
         "show=1\nshowMainForm=1\nminimizedStyle=0\nanimation=\n"},
        {"normal start, running", SW_SHOWNORMAL, "running", 3, "show=1\niconic=0\nanimation=\n"},
        {"maximised start", SW_SHOWMAXIMIZED, "running", 3, "show=3\niconic=0\nanimation=\n"},
        {"minimised with activation", SW_SHOWMINIMIZED, "before", 3,
         "show=2\nshowMainForm=1\nminimizedStyle=0\nanimation=\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TChildProcess probe(TCommandLine{BinaryFolder() + "startup_probe.exe",
                                         Format("startup_probe.exe %s %d", c.Phase, c.Animation)},
                            {.CaptureOutput = true, .ShowWindow = c.Show});
        const AnsiString output = probe.ReadOutput();
        int exitCode = -1;
        ASSERT_TRUE(probe.WaitForExit(std::chrono::seconds(30), exitCode));
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(output, c.Expected);
    }
}

// ---- Control trees -----------------------------------------------------------

// form
//   plain (no window)
//   panel
//     inner
//       memo
//     label
struct TTree {
    TTestForm Form{nullptr};
    TGraphicControl* Plain = Add(new TGraphicControl(&Form), &Form);
    TPanel* Panel = Add(new TPanel(&Form), &Form);
    TPanel* Inner = Add(new TPanel(&Form), Panel);
    TMemo* Memo = Add(new TMemo(&Form), Inner);
    TLabel* Label = Add(new TLabel(&Form), Panel);

    template <typename TControlClass>
    static TControlClass* Add(TControlClass* control, TWinControl* parent)
    {
        control->SetBounds(0, 0, 50, 20);
        control->SetParent(parent);
        return control;
    }
};

TEST(IsChildControl, AnyLevelBelowTheRootButNotTheRootItself)
{
    TTree tree;
    TTree another;
    const struct {
        const char* Name;
        TWinControl* Root;
        TControl* Control;
        bool Expected;
    } cases[] = {
        {"child without a window", &tree.Form, tree.Plain, true},
        {"windowed child", &tree.Form, tree.Panel, true},
        {"grandchild below a windowed child", &tree.Form, tree.Inner, true},
        {"three levels down", &tree.Form, tree.Memo, true},
        {"below an inner root", tree.Panel, tree.Memo, true},
        {"the root itself", &tree.Form, &tree.Form, false},
        {"the root's parent", tree.Panel, &tree.Form, false},
        {"a sibling's child", tree.Inner, tree.Label, false},
        {"a control of another tree", &tree.Form, another.Memo, false},
        {"nothing", &tree.Form, nullptr, false},
        {"no root", nullptr, tree.Memo, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsChildControl(c.Root, c.Control), c.Expected) << c.Name;
    EXPECT_FALSE(tree.Form.HandleAllocated()) << "the search needs no windows";
}

TEST(GetFocusControl, OnlyTheControlsOwnWindowsCount)
{
    TTree tree;
    TTree another;
    EXPECT_EQ(GetFocusControl(&tree.Form), nullptr);
    EXPECT_TRUE(tree.Inner->HandleAllocated()) << "the search creates the windows it compares";
    // A window inside a control that is no control itself.
    const TWindowHandle window(CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 10,
                                               Window(tree.Inner), nullptr, GetModuleHandleA(nullptr), nullptr));
    const HWND helper = window.Get();
    ASSERT_NE(helper, nullptr);
    const struct {
        const char* Name;
        HWND Focus;
        TWinControl* Expected;
    } cases[] = {
        {"windowed child", Window(tree.Panel), tree.Panel},
        {"grandchild", Window(tree.Inner), tree.Inner},
        {"three levels down", Window(tree.Memo), tree.Memo},
        {"the root itself", Window(&tree.Form), nullptr},
        {"a window inside a control", helper, nullptr},
        {"a control of another tree", Window(another.Memo), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        SetFocus(c.Focus);
        ASSERT_EQ(GetFocus(), c.Focus);
        EXPECT_EQ(GetFocusControl(&tree.Form), c.Expected);
    }
    EXPECT_EQ(GetFocusControl(nullptr), nullptr);
    PumpMessages();
}

} // namespace
