#include <gtest/gtest.h>

#include "ProcessArgs.h"

namespace {

std::vector<AnsiString> Split(const char* line)
{
    return SplitCommandLine("C:\\prog.exe", line).Arguments;
}

using Args = std::vector<AnsiString>;

TEST(SplitCommandLine, DropsTheProgramTokenQuotedOrNot)
{
    EXPECT_EQ(Split("prog.exe -a"), (Args{"-a"}));
    EXPECT_EQ(Split("\"C:\\Program Files\\x\\prog.exe\" -a b"), (Args{"-a", "b"}));
    EXPECT_EQ(Split("  \"C:\\x y\\p.exe\""), (Args{}));
    EXPECT_EQ(Split(""), (Args{}));
    EXPECT_EQ(SplitCommandLine("p", nullptr).Count(), 0);
}

TEST(SplitCommandLine, SeparatesAtRunsOfControlCharactersAndSpaces)
{
    EXPECT_EQ(Split("p a\tb \x01\x1f c\r\nd"), (Args{"a", "b", "c", "d"}));
    // Bytes of the upper half are ordinary characters.
    EXPECT_EQ(Split("p \xE4\xFF \x7F"), (Args{"\xE4\xFF", "\x7F"}));
}

TEST(SplitCommandLine, QuotesGroupAndAreRemoved)
{
    EXPECT_EQ(Split("p -package \"Office Tools\" install"), (Args{"-package", "Office Tools", "install"}));
    EXPECT_EQ(Split("p a\"b c\"d e"), (Args{"ab cd", "e"}));
    EXPECT_EQ(Split("p \"tab\there\""), (Args{"tab\there"}));
    // An open quote runs to the end of the line.
    EXPECT_EQ(Split("p \"open to the end"), (Args{"open to the end"}));
    EXPECT_EQ(Split("p x\"\"y"), (Args{"xy"}));
}

TEST(SplitCommandLine, EmptyQuotedArgumentYieldsNoArgument)
{
    EXPECT_EQ(Split("p -package \"\" install"), (Args{"-package", "install"}));
    EXPECT_EQ(Split("p \"\"\"\" a"), (Args{"a"}));
    EXPECT_EQ(Split("p a \"\""), (Args{"a"}));
    EXPECT_EQ(Split("p \"\"\""), (Args{}));
}

TEST(SplitCommandLine, LongArgumentsStayWhole)
{
    const AnsiString longArgument(10000, 'z');
    const AnsiString line = "p " + longArgument + " \"" + longArgument + " " + longArgument + "\"";
    EXPECT_EQ(Split(line.c_str()), (Args{longArgument, longArgument + " " + longArgument}));
}

TEST(TArgumentList, IndexesFromTheProgramAndGivesEmptyBeyond)
{
    const TArgumentList list = SplitCommandLine("C:\\dir\\deployNotice.exe", "deployNotice -reboot 120");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0], "C:\\dir\\deployNotice.exe");
    EXPECT_EQ(list[1], "-reboot");
    EXPECT_EQ(list[2], "120");
    EXPECT_EQ(list[3], "");
    EXPECT_EQ(list[-1], "");
}

} // namespace
