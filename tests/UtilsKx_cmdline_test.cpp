#include <gtest/gtest.h>

#include "UtilsKxInternal.h"

namespace {

using namespace NUtilsKx;

struct TPointerCase {
    const char* Line;
    int Index;
    int Offset; // -1: null
};

const TPointerCase PointerCases[] = {
    {"prog a b", 0, 0},
    {"prog a b", 1, 5},
    {"prog a b", 2, 7},
    {"prog a b", 3, -1},
    {"prog a b", -1, -1},
    {"  \"C:\\x y\\p.exe\"  -x", 0, 2},
    {"  \"C:\\x y\\p.exe\"  -x", 1, 18},
    // Only spaces separate raw tokens: a tab does not.
    {"p a\tb c", 1, 2},
    {"p a\tb c", 2, 6},
    // A quote in the middle of a word opens a quoted stretch just the same.
    {"p mid\"dle wo\"rd x", 2, 16},
    {"p \"\" x", 1, 2},
    {"p \"\" x", 2, 5},
    {"p \"open to the end", 2, -1},
    {"p a\"b c\"\"d e\" f", 2, 14},
    {"   ", 0, -1},
    {"", 0, -1},
};

TEST(GetArgPointer, PointsIntoTheLineAtTheRawToken)
{
    for (const TPointerCase& c : PointerCases) {
        AnsiString line = c.Line;
        const char* found = GetArgPointer(line.data(), c.Index);
        EXPECT_EQ(found == nullptr ? -1 : found - line.data(), c.Offset) << '"' << c.Line << "\" " << c.Index;
    }
}

struct TSwitchCase {
    const char* Line;
    const char* Name;
    bool IgnoreCase;
    int Index;
    const char* Value;
};

const TSwitchCase SwitchCases[] = {
    {"p -ABC:12 x", "abc", true, 1, ":12"},
    {"p -ABC:12 x", "abc", false, 0, ""},
    {"p x -abc12", "abc", false, 2, "12"},
    {"p -abc 12", "abc", true, 1, ""},
    {"p /abc", "abc", true, 0, ""},
    {"p -ab", "abc", true, 0, ""},
    {"p -abcDEF", "abc", true, 1, "DEF"},
    {"p x -abc1 -abc2", "abc", true, 2, "1"},
    {"p -abc", "abc", false, 1, ""},
    {"p --abc", "abc", true, 0, ""},
    {"p --abc", "-abc", true, 1, ""},
    {"p -", "abc", true, 0, ""},
    // A tab separates arguments; empty quoted arguments are no arguments.
    {"p a\t-abc=1", "abc", false, 2, "=1"},
    {"p \"\" -abc", "abc", false, 1, ""},
    // A switch quoted as a whole keeps its spaces and loses its quotes.
    {"p \"-abc Office Tools\"", "abc", false, 1, " Office Tools"},
    {"p -a\"bc x\"y", "abc", false, 1, " xy"},
    // An empty name matches the first argument that begins with a minus sign.
    {"p x - -y", "", true, 2, ""},
    {"p x -y -z", "", false, 2, "y"},
    {"p", "", true, 0, ""},
};

TEST(GetCmdLineSwitch, FindsTheFirstArgumentThatStartsWithMinusAndTheName)
{
    for (const TSwitchCase& c : SwitchCases) {
        // Argument 0 ("-abc") would match if it were looked at.
        const TArgumentList arguments = SplitCommandLine("-abc", c.Line);
        EXPECT_EQ(GetCmdLineSwitch(arguments, c.Name, c.IgnoreCase), c.Index)
            << '"' << c.Line << "\" " << c.Name << ' ' << c.IgnoreCase;
        EXPECT_EQ(GetCmdLineSwitchVal(arguments, c.Name, c.IgnoreCase), c.Value)
            << '"' << c.Line << "\" " << c.Name << ' ' << c.IgnoreCase;
    }
}

} // namespace
