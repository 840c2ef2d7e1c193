// Texts in every script reach the screen, read back as a screen reader reads
// them: from an ini file in any encoding, from the command line, from a
// program in a folder of any name; a text written from the right is laid out
// from the right. Under Wine CTest runs these once more on a Japanese system
// (LC_ALL=ja_JP.UTF-8, code page 932).
#include <cstdlib>
#include <fstream>

#include "WindowRun.h"

namespace {

std::string Utf8(std::u8string_view text)
{
    return std::string(text.begin(), text.end());
}

AnsiString Utf16File(std::u16string_view text)
{
    AnsiString bytes = "\xFF\xFE";
    for (const char16_t unit : text)
        bytes += AnsiString{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
}

bool JapaneseSystem()
{
    const char* locale = std::getenv("LC_ALL");
    return locale != nullptr && std::string(locale).starts_with("ja_JP");
}

TEST_F(WindowRun, ShowsTextsInEveryScriptWhateverTheFilesEncoding)
{
    const std::string text = Utf8(u8"Добро пожаловать 日本語 ✓");
    // A file without a mark that is no UTF-8 is the system's old code page's,
    // as Windows reads it.
    const std::string legacy = JapaneseSystem() ? "\x93\xFA\x96{" : "Gr\xFC\xDF" "e \x80";
    const struct {
        const char* Name;
        AnsiString Ini;
        std::string Upper;
    } rows[] = {
        {"UTF-16", Utf16File(u"[Strings]\r\nInspectMessage=Добро пожаловать 日本語 ✓\r\n"), text},
        {"UTF-8 without a mark", "[Strings]\r\nInspectMessage=" + text + "\r\n", text},
        {"an old file", "[Strings]\r\nInspectMessage=" + legacy + "\r\n",
         JapaneseSystem() ? Utf8(u8"日本") : Utf8(u8"Grüße €")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        WriteIni(row.Ini);
        auto window = Start();
        const TWindowSeen seen = WaitForWindow(*window);
        EXPECT_EQ(seen.Upper, row.Upper);
        EXPECT_FALSE(seen.UpperFromTheRight);
        Send({"-terminate"});
        ExpectEndsWithZero(*window);
    }
}

TEST_F(WindowRun, TakesNamesAndFoldersInEveryScriptAndLaysRightToLeftTextsOutFromTheRight)
{
    // A folder whose name neither code page 1252 nor 932 can hold.
    const AnsiString base = Folder.Path();
    const std::filesystem::path folder =
        std::filesystem::path(std::u8string(base.begin(), base.end())) / u8"패키지";
    std::filesystem::create_directory(folder);
    const std::filesystem::path program = folder / std::filesystem::path(Program.c_str()).filename();
    std::filesystem::copy_file(Program.c_str(), program);
    std::ofstream(folder / "deployNotice.ini", std::ios::binary)
        << Utf8(u8"[Strings]\r\nInspectMessage=שלום, עולם.\r\nInstallMessage=Installing %s\r\n");
    const std::u8string path = program.u8string();
    // Outside the macros, which quote their arguments in the code page.
    const std::string hebrew = Utf8(u8"שלום, עולם.");
    const std::string name = Utf8(u8"Офис 365 ✓");

    TChildProcess window(std::string(path.begin(), path.end()), {});
    const TWindowSeen seen = WaitForWindow(window);
    ASSERT_TRUE(seen.Found) << "no window from a folder of that name";
    EXPECT_EQ(seen.Upper, hebrew);
    EXPECT_TRUE(seen.UpperFromTheRight);
    Send({"-package", name, "install"});
    EXPECT_TRUE(UpperBecomes(window, "Installing " + name)) << ReadWindow(window).Upper;
    EXPECT_FALSE(ReadWindow(window).UpperFromTheRight);
    Send({"-terminate"});
    ExpectEndsWithZero(window);
}

} // namespace
