#include <gtest/gtest.h>

#include "Command.h"
#include "Expect.h"
#include "SysUtils.h"

namespace {

std::vector<AnsiString> Fields(const AnsiString& message)
{
    TStringList fields;
    SplitCommandMessage(message, fields);
    std::vector<AnsiString> items;
    for (int i = 0; i < fields.Count(); ++i)
        items.push_back(fields[i]);
    return items;
}


using Texts = std::vector<AnsiString>;

TEST(CommandTexts, SendersJoinTheirFieldsWithTheSeparator)
{
    EXPECT_EQ(TerminateText(), "Terminate");
    EXPECT_EQ(FinishInstallationText(), "FinishInstallation");
    EXPECT_EQ(RebootText(""), "Reboot");
    EXPECT_EQ(RebootText("120"), "Reboot|120");
    EXPECT_EQ(RebootText("abc"), "Reboot|abc");
    EXPECT_EQ(ProgressText(""), "Progress");
    EXPECT_EQ(ProgressText(" 4x"), "Progress| 4x");
    EXPECT_EQ(ProcessPackageText("", ""), "ProcessPackage|");
    EXPECT_EQ(ProcessPackageText("Office Tools", ""), "ProcessPackage|Office Tools");
    EXPECT_EQ(ProcessPackageText("Foo", "install"), "ProcessPackage|Foo|install");
}

TEST(SplitCommandMessage, TextEndsAtTheFirstNul)
{
    EXPECT_EQ(Fields(AnsiString("Reboot\0", 7)), (Texts{"Reboot"}));
    EXPECT_EQ(Fields(AnsiString("Reboot|\0", 8)), (Texts{"Reboot", ""}));
    EXPECT_EQ(Fields(AnsiString("Terminate\0garbage|x", 19)), (Texts{"Terminate"}));
    // A message without a NUL is taken whole.
    EXPECT_EQ(Fields("Reboot|5"), (Texts{"Reboot", "5"}));
    EXPECT_EQ(Fields(AnsiString("\0", 1)), (Texts{}));
    EXPECT_EQ(Fields(""), (Texts{}));
    EXPECT_EQ(Fields("|||"), (Texts{"", "", "", ""}));
}

TEST(DecodeCommand, CommandWordsAreExactAndCaseSensitive)
{
    EXPECT_EQ(DecodeMessage("Terminate").Kind, TCommandKind::Terminate);
    EXPECT_EQ(DecodeMessage("FinishInstallation").Kind, TCommandKind::FinishInstallation);
    EXPECT_EQ(DecodeMessage("terminate").Kind, TCommandKind::Ignored);
    EXPECT_EQ(DecodeMessage("Terminate ").Kind, TCommandKind::Ignored);
    EXPECT_EQ(DecodeMessage("Unknown|x").Kind, TCommandKind::Ignored);
    EXPECT_EQ(DecodeMessage("").Kind, TCommandKind::Ignored);
    // Extra fields do not matter.
    EXPECT_EQ(DecodeMessage("Terminate|now").Kind, TCommandKind::Terminate);
}

TEST(DecodeCommand, RebootTimeIsAbsentOnlyWithOneField)
{
    TCommand command = DecodeMessage(AnsiString("Reboot\0", 7));
    EXPECT_EQ(command.Kind, TCommandKind::Reboot);
    EXPECT_FALSE(command.HasTime);

    command = DecodeMessage("Reboot|");
    EXPECT_TRUE(command.HasTime);
    EXPECT_EQ(command.Time, 0);

    command = DecodeMessage("Reboot|120|x");
    EXPECT_TRUE(command.HasTime);
    EXPECT_EQ(command.Time, 120);

    EXPECT_EQ(DecodeMessage("Reboot|$FFFFFFFF").Time, -1);
    EXPECT_EQ(DecodeMessage("Reboot|-5").Time, -5);
    EXPECT_EQ(DecodeMessage("Reboot|abc").Time, 0);
}

TEST(DecodeCommand, ProgressHoldsAClampedNumberReturnsToCyclingOrIsIgnored)
{
    const struct {
        const char* Message;
        TCommandKind Kind;
        std::optional<int> Percent;
    } cases[] = {
        {"Progress|40", TCommandKind::Progress, 40},
        {"Progress| \t+7 ", TCommandKind::Progress, 7},
        {"Progress|250", TCommandKind::Progress, 100},
        {"Progress|99999999999999999999", TCommandKind::Progress, 100},
        {"Progress|-5", TCommandKind::Progress, 0},
        {"Progress", TCommandKind::Progress, std::nullopt},
        {"Progress|", TCommandKind::Progress, std::nullopt},
        {"Progress|abc", TCommandKind::Ignored, std::nullopt},
        {"Progress|4 0", TCommandKind::Ignored, std::nullopt},
        {"Progress|+", TCommandKind::Ignored, std::nullopt},
    };
    for (const auto& row : cases) {
        const TCommand command = DecodeMessage(row.Message);
        EXPECT_EQ(command.Kind, row.Kind) << row.Message;
        EXPECT_EQ(command.Percent, row.Percent) << row.Message;
    }
}

TEST(DecodeCommand, PackageNameAndAction)
{
    TCommand command = DecodeMessage("ProcessPackage|Foo");
    EXPECT_EQ(command.Kind, TCommandKind::ProcessPackage);
    EXPECT_EQ(command.PackageName, "Foo");
    EXPECT_EQ(command.Action, TPackageAction::Install);

    EXPECT_EQ(DecodeMessage("ProcessPackage|Foo|upgrade").Action, TPackageAction::Upgrade);
    EXPECT_EQ(DecodeMessage("ProcessPackage|Foo|remove").Action, TPackageAction::Remove);
    EXPECT_EQ(DecodeMessage("ProcessPackage|Foo|install|more").Action, TPackageAction::Install);
    EXPECT_EQ(DecodeMessage("ProcessPackage|Foo|Install").Action, TPackageAction::Other);
    EXPECT_EQ(DecodeMessage("ProcessPackage|Foo|").Action, TPackageAction::Other);

    command = DecodeMessage("ProcessPackage|");
    EXPECT_EQ(command.PackageName, "");
    EXPECT_EQ(command.Action, TPackageAction::Install);

    // A "|" inside a name splits it: the rest becomes the action.
    command = DecodeMessage("ProcessPackage|a|b|install");
    EXPECT_EQ(command.PackageName, "a");
    EXPECT_EQ(command.Action, TPackageAction::Other);
}

TEST(DecodeCommand, PackageWithoutNameFieldRaisesTheListIndexError)
{
    EXPECT_THROW_MSG(DecodeMessage(AnsiString("ProcessPackage\0", 15)), EStringListError,
                     "Der Index der Liste überschreitet das Maximum (1)");
}

} // namespace
