#include <gtest/gtest.h>

#include "StartUp.h"

namespace {

TRunChoice Choose(const char* commandLine)
{
    return ChooseRun(SplitCommandLine("C:\\deployNotice.exe", commandLine));
}

TEST(ChooseRun, SwitchCharacterAndCaseVaryButTheNameIsWhole)
{
    for (const char* line : {"p -TERMINATE", "p /terminate", "p /Terminate", "p hello -terminate"})
        EXPECT_EQ(Choose(line).Kind, TRunKind::Terminate) << line;
    for (const char* line : {"p --terminate", "p -term", "p terminate", "p -terminate=1", "p", "p hello", "p -",
                             "p \\terminate"})
        EXPECT_EQ(Choose(line).Kind, TRunKind::Window) << line;
}

TEST(ChooseRun, TableOrderDecidesNotCommandLineOrder)
{
    EXPECT_EQ(Choose("p -package foo install -terminate").Kind, TRunKind::Terminate);
    EXPECT_EQ(Choose("p -reboot -finish").Kind, TRunKind::FinishInstallation);
    EXPECT_EQ(Choose("p -help -package x").Kind, TRunKind::ProcessPackage);
    EXPECT_EQ(Choose("p /? -HELP").Kind, TRunKind::Usage);
    EXPECT_EQ(Choose("p -HELP").Kind, TRunKind::Usage);
    // The progress switch comes after every command switch of old, before
    // the usage.
    EXPECT_EQ(Choose("p -progress 5 -package x").Kind, TRunKind::ProcessPackage);
    EXPECT_EQ(Choose("p -PROGRESS 5 -help").Percent, "5");
}

TEST(ChooseRun, RebootTimeIsArgumentTwoUnchecked)
{
    EXPECT_EQ(Choose("p -reboot").Time, "");
    EXPECT_EQ(Choose("p -reboot 120").Time, "120");
    EXPECT_EQ(Choose("p -reboot abc").Time, "abc");
    const TRunChoice choice = Choose("p x -reboot 30");
    EXPECT_EQ(choice.Kind, TRunKind::Reboot);
    EXPECT_EQ(choice.Time, "-reboot");
}

TEST(ChooseRun, PackageNameAsTypedActionLowerCased)
{
    TRunChoice choice = Choose("p -package Foo INSTALL");
    EXPECT_EQ(choice.Kind, TRunKind::ProcessPackage);
    EXPECT_EQ(choice.PackageName, "Foo");
    EXPECT_EQ(choice.Action, "install");

    choice = Choose("p -package");
    EXPECT_EQ(choice.PackageName, "");
    EXPECT_EQ(choice.Action, "");

    choice = Choose("p -package \"Office Tools\" Upgrade");
    EXPECT_EQ(choice.PackageName, "Office Tools");
    EXPECT_EQ(choice.Action, "upgrade");

    choice = Choose("p -package \"\" install");
    EXPECT_EQ(choice.PackageName, "install");
    EXPECT_EQ(choice.Action, "");
}

TEST(UsageText, SixLinesWithoutATrailingLineFeed)
{
    EXPECT_STREQ(UsageText, "deployNotice {\n-terminate |\n-package <packagename> [{ install | upgrade | remove }] |\n"
                            "-finish |\n-reboot [time] |\n-help }");
}

} // namespace
