#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "Expect.h"
#include "SysUtils.h"
#include "UtilsKx.h"
#include "UtilsKxInternal.h"

namespace {

// A binary temporary stream holding `content`, read from its start.
std::unique_ptr<std::FILE, int (*)(std::FILE*)> StreamOf(const AnsiString& content)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::tmpfile(), &std::fclose);
    if (stream) {
        std::fwrite(content.data(), 1, content.size(), stream.get());
        std::rewind(stream.get());
    }
    return stream;
}

struct TLinesCase {
    AnsiString Content;
    std::vector<AnsiString> Lines; // then false with an empty line
};

TEST(ReadString, LinesPiecesAndEnd)
{
    const AnsiString longLine(1500, 'a');
    const TLinesCase cases[] = {
        {"abc\n\nx", {"abc", "", "x"}},
        {"", {}},
        {longLine + "\nz", {longLine.substr(0, 1023), longLine.substr(1023), "z"}},
        {AnsiString(1023, 'b') + "\n", {AnsiString(1023, 'b'), ""}}, // the line feed comes alone
        {"dos\r\nline\r\n", {"dos\r", "line\r"}},                       // no newline translation
        {AnsiString("nul\0inside\n", 11), {"nul"}},
        {AnsiString("\0first byte\nnext\n", 17), {}}, // a NUL first byte reads as the end
    };
    for (const TLinesCase& c : cases) {
        const auto stream = StreamOf(c.Content);
        ASSERT_TRUE(stream);
        AnsiString line = "old";
        for (const AnsiString& expected : c.Lines) {
            EXPECT_TRUE(NUtilsKx::ReadString(stream.get(), line)) << expected;
            EXPECT_EQ(line, expected);
        }
        line = "old";
        EXPECT_FALSE(NUtilsKx::ReadString(stream.get(), line)) << c.Content;
        EXPECT_EQ(line, "");
    }
    AnsiString line = "old";
    EXPECT_FALSE(NUtilsKx::ReadString(nullptr, line));
    EXPECT_EQ(line, "");
}

// A stand-in for the system's temporary-directory call, answering from a list
// of paths (one per call, the last one repeated) as the system would, and
// never writing a buffer that is too small.
struct TTempDirectory {
    std::vector<AnsiString> Paths;
    int Calls = 0;

    unsigned operator()(unsigned size, char* buffer)
    {
        const AnsiString& path = Paths[std::min<size_t>(Calls++, Paths.size() - 1)];
        if (path.empty())
            return 0; // failure
        if (size < path.size() + 1)
            return static_cast<unsigned>(path.size() + 1);
        std::memcpy(buffer, path.c_str(), path.size() + 1);
        return static_cast<unsigned>(path.size());
    }
};

TEST(QueryTempPath, AsksAgainWhenTheDirectoryChangesBetweenTheCalls)
{
    struct {
        std::vector<AnsiString> Paths;
        AnsiString Expected;
    } const cases[] = {
        {{"C:\\Temp\\"}, "C:\\Temp\\"},
        {{"C:\\Temp"}, "C:\\Temp\\"},
        {{"C:\\T\\", "C:\\A\\Much\\Longer\\Temp\\"}, "C:\\A\\Much\\Longer\\Temp\\"},
        {{"C:\\T\\", "C:\\Longer\\", "C:\\Even\\Longer\\"}, "C:\\Even\\Longer\\"},
        {{"C:\\Long\\Temp\\", "C:\\T"}, "C:\\T\\"},
    };
    for (const auto& c : cases) {
        TTempDirectory directory{c.Paths};
        EXPECT_EQ(NUtilsKx::QueryTempPath(std::ref(directory)), c.Expected);
    }
}

TEST(QueryTempPath, RaisesWhenTheSystemCannotTell)
{
    const std::vector<AnsiString> failing[] = {
        {""},             // the length query fails
        {"C:\\T\\", ""},  // the second call fails
        {"A", "BB", "CCC", "DDDD"}, // keeps growing
    };
    for (const auto& paths : failing) {
        TTempDirectory directory{paths};
        SCOPED_TRACE(paths.back());
        EXPECT_THROW_MSG(NUtilsKx::QueryTempPath(std::ref(directory)), Exception,
                         "Fehler beim Ermitteln des Windows Temporärverzeichnisses");
    }
}

} // namespace
