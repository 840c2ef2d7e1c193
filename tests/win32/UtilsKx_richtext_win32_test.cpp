// Rich-text copy between real rich-edit controls, and between windows that
// fail or ignore the transfer. Formats are compared by the controls' own
// character formats, not by RTF bytes (Wine writes RTF of its own).
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include "Expect.h"
#include "Streams.h"
#include "SysUtils.h"
#include "TestProcess.h"
#include "TestWindows.h"
#include "UtilsKx.h"
#include "UtilsKxInternal_win32.h"

using namespace NUtilsKx;

namespace {

// The rich-edit library stays loaded for the whole test program: its
// windows must not outlive it.
bool LoadRichEdit()
{
    static const HMODULE library = LoadLibraryA("riched20.dll");
    return library != nullptr;
}

const char RichEditClass[] = "RichEdit20A";

TWindowHandle NewWindow(const char* className, const char* text = "")
{
    return TWindowHandle(CreateWindowExA(0, className, text, WS_POPUP | ES_MULTILINE, 0, 0, 200, 100, nullptr,
                                         nullptr, GetModuleHandleA(nullptr), nullptr));
}

AnsiString Text(HWND window)
{
    return WindowText(window);
}

void Select(HWND window, LONG start, LONG end)
{
    CHARRANGE range{start, end};
    SendMessageA(window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

CHARRANGE Selection(HWND window)
{
    CHARRANGE range{};
    SendMessageA(window, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

// The formatting the tests give a word: italic and red.
constexpr DWORD Effects = CFM_ITALIC | CFM_COLOR;
constexpr COLORREF Red = RGB(255, 0, 0);

void Emphasise(HWND window, LONG start, LONG end)
{
    Select(window, start, end);
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = Effects;
    format.dwEffects = CFE_ITALIC;
    format.crTextColor = Red;
    SendMessageA(window, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

// "emphasised", "plain" or "mixed" for the characters from start to end.
AnsiString Style(HWND window, LONG start, LONG end)
{
    const CHARRANGE kept = Selection(window);
    Select(window, start, end);
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(window, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    Select(window, kept.cpMin, kept.cpMax);
    if ((format.dwMask & Effects) != Effects)
        return "mixed";
    const bool italic = format.dwEffects & CFE_ITALIC;
    const bool red = !(format.dwEffects & CFE_AUTOCOLOR) && format.crTextColor == Red;
    if (italic && red)
        return "emphasised";
    return italic || red ? "mixed" : "plain";
}

TEST(CopyRichText, TextWithOrWithoutFormattingWholeOrSelected)
{
    ASSERT_TRUE(LoadRichEdit());
    const struct {
        const char* Name;
        int Format;
        const char* Expected;
        LONG WorldAt; // where the source's emphasised word lands
        const char* WorldStyle;
        const char* Before; // the destination's own, the character at 0
    } cases[] = {
        {"formatted", SF_RTF, "Hello World", 6, "emphasised", "plain"},
        {"plain text", SF_TEXT, "Hello World", 6, "plain", "plain"},
        {"formatted selection", SF_RTF | SFF_SELECTION, "[World]", 1, "emphasised", "plain"},
        {"plain selection", SF_TEXT | SFF_SELECTION, "[World]", 1, "plain", "plain"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TWindowHandle source = NewWindow(RichEditClass, "Hello World");
        const TWindowHandle destination = NewWindow(RichEditClass, "[old]");
        Emphasise(source.Get(), 6, 11);
        Select(source.Get(), 6, 11);
        Select(destination.Get(), 1, 4);

        CopyRichText(destination.Get(), source.Get(), c.Format);

        EXPECT_EQ(Text(destination.Get()), c.Expected);
        EXPECT_STREQ(Style(destination.Get(), c.WorldAt, c.WorldAt + 5).c_str(), c.WorldStyle);
        EXPECT_STREQ(Style(destination.Get(), 0, 1).c_str(), c.Before);
        EXPECT_EQ(Text(source.Get()), "Hello World") << "the source stays as it was";
        EXPECT_EQ(Selection(source.Get()).cpMin, 6);
        EXPECT_EQ(Selection(source.Get()).cpMax, 11);
        EXPECT_STREQ(Style(source.Get(), 6, 11).c_str(), "emphasised");
        EXPECT_STREQ(Style(source.Get(), 0, 5).c_str(), "plain");
    }
}

TEST(CopyRichText, WindowThatIgnoresTheTransfer)
{
    ASSERT_TRUE(LoadRichEdit());
    for (const int format : {SF_RTF, SF_TEXT, SF_RTF | SFF_SELECTION}) {
        SCOPED_TRACE(format);
        const TWindowHandle rich = NewWindow(RichEditClass, "kept");
        const TWindowHandle ignoring = NewWindow("Static", "static text");
        EXPECT_NO_THROW(CopyRichText(ignoring.Get(), rich.Get(), format));
        EXPECT_EQ(Text(ignoring.Get()), "static text");
        EXPECT_EQ(Text(rich.Get()), "kept");
        const TWindowHandle alsoIgnoring = NewWindow("Static", "other");
        EXPECT_NO_THROW(CopyRichText(alsoIgnoring.Get(), ignoring.Get(), format));
        EXPECT_EQ(Text(alsoIgnoring.Get()), "other");
    }
    // A source that gives nothing reads like an empty text: the destination
    // receives nothing in place of its content.
    const TWindowHandle rich = NewWindow(RichEditClass, "replaced");
    const TWindowHandle ignoring = NewWindow("Static", "static text");
    EXPECT_NO_THROW(CopyRichText(rich.Get(), ignoring.Get(), SF_TEXT));
    EXPECT_EQ(Text(rich.Get()), "");
}

// A control that reports a failure of one transfer with the given error,
// and counts the transfers it was asked for.
struct TFailingControl {
    static inline int StreamIns = 0;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == EM_STREAMOUT || message == EM_STREAMIN) {
            const auto* failing = reinterpret_cast<const UINT*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            if (message == EM_STREAMIN)
                ++StreamIns;
            if (failing != nullptr && *failing == message)
                reinterpret_cast<EDITSTREAM*>(lParam)->dwError = 5;
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

TEST(CopyRichText, FailureOfEitherTransferRaisesAndLeavesTheDestinationAlone)
{
    WNDCLASSA failing{};
    failing.lpfnWndProc = TFailingControl::Procedure;
    failing.hInstance = GetModuleHandleA(nullptr);
    failing.lpszClassName = "FailingRichEdit";
    ASSERT_TRUE(RegisterClassA(&failing));
    for (const UINT message : {EM_STREAMOUT, EM_STREAMIN}) {
        SCOPED_TRACE(message == EM_STREAMOUT ? "reading the source" : "writing the destination");
        const TWindowHandle source = NewWindow("FailingRichEdit");
        const TWindowHandle destination = NewWindow("FailingRichEdit");
        SetWindowLongPtrA(message == EM_STREAMOUT ? source.Get() : destination.Get(), GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(&message));
        TFailingControl::StreamIns = 0;
        EXPECT_THROW_MSG(CopyRichText(destination.Get(), source.Get(), SF_RTF), EOutOfResources,
                         "Das Laden des Streams ist mißlungen");
        EXPECT_EQ(TFailingControl::StreamIns, message == EM_STREAMOUT ? 0 : 1);
    }
}

// A stream that fails every transfer.
class TBrokenStream : public TStream {
public:
    int Read(void*, int) override { throw EReadError("Stream-Read-Fehler"); }
    int Write(const void*, int) override { throw EWriteError("Stream-Write-Fehler"); }
    long long Seek(long long, TSeekOrigin) override { return 0; }
    void SetSize(long long) override {}
};

TEST(CopyRichText, CallbacksNeverLetAnExceptionOut)
{
    TBrokenStream broken;
    const auto cookie = reinterpret_cast<DWORD_PTR>(static_cast<TStream*>(&broken));
    BYTE buffer[8] = {};
    LONG done = -1;
    EXPECT_EQ(RichTextStreamOut(cookie, buffer, sizeof buffer, &done), 1u);
    EXPECT_EQ(done, 0);
    done = -1;
    EXPECT_EQ(RichTextStreamIn(cookie, buffer, sizeof buffer, &done), 1u);
    EXPECT_EQ(done, 0);
}

} // namespace
