// The message window in this process, one tick at a time: each tick is a
// call of Tim1Timer, so that what a tick does is checked exactly. The ini
// file beside this executable holds short texts of its own. The same cases
// run on every platform with windows.
#include <gtest/gtest.h>

#include "Expect.h"
#include "Frm_main.h"
#include "Channel.h"
#include "SysUtils.h"
#include "TestProcess.h"
#include "Unt_settings.h"

namespace {

class MessageWindow : public testing::Test {
protected:
    void SetUp() override { Open(); }

    void Open()
    {
        Form.reset();
        Form = std::make_unique<TFrmMain>(nullptr, std::make_unique<TChannelReader>(Slot));
        Form->Tim1->SetEnabled(false);
    }

    void Tick() { Form->Tim1Timer(Form->Tim1); }
    AnsiString Upper() const { return Form->LblMessage1->Caption(); }
    void Send(const AnsiString& text) { WriteMailslot(Slot, text); }

    TSettings SettingsObject;
    const AnsiString Slot = UniqueChannelName();
    std::unique_ptr<TFrmMain> Form;
};

TEST_F(MessageWindow, OpensWithTheIniTextsAndTheBarAtZero)
{
    EXPECT_EQ(Form->Caption(), "Test caption");
    EXPECT_EQ(Upper(), "Inspecting");
    EXPECT_EQ(Form->LblMessage2->Caption(), "Please wait");
    EXPECT_EQ(Form->Pgb1->Position(), 0);
    EXPECT_EQ(Form->Pgb1->Max(), 100);
    EXPECT_EQ(Form->Tim1->Interval(), 500u);
    EXPECT_EQ(Form->ClientRect().Width(), 368);
    EXPECT_EQ(Form->ClientRect().Height(), 195);
    EXPECT_EQ(Form->LblMessage1->Left(), 50);
    EXPECT_EQ(Form->LblMessage2->Top(), 80);
    EXPECT_EQ(Form->Pgb1->Width(), 337);
}

TEST_F(MessageWindow, BarShowsTenAfterTheFirstTickAndZeroAfterTheEleventh)
{
    std::vector<int> positions;
    for (int tick = 0; tick < 12; ++tick) {
        Tick();
        positions.push_back(Form->Pgb1->Position());
    }
    EXPECT_EQ(positions, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0, 10}));
}

TEST_F(MessageWindow, EachCommandChangesOnlyTheUpperLine)
{
    const struct {
        const char* Command;
        const char* Upper;
    } steps[] = {
        {"ProcessPackage|Foo|install", "Installing Foo"}, {"ProcessPackage|Foo|upgrade", "Upgrading Foo"},
        {"ProcessPackage|Foo|remove", "Removing Foo"},    {"ProcessPackage|Foo|Install", ""},
        {"ProcessPackage|Bar", "Installing Bar"},         {"ProcessPackage|", "Installing %s"},
        {"terminate", "Installing %s"},                   {"FinishInstallation", "Finished"},
    };
    for (const auto& step : steps) {
        Send(step.Command);
        Tick();
        EXPECT_EQ(Upper(), step.Upper) << step.Command;
        EXPECT_EQ(Form->LblMessage2->Caption(), "Please wait");
        EXPECT_EQ(Form->Caption(), "Test caption");
    }
}

TEST_F(MessageWindow, ThreeCommandsBetweenTwoTicksTakeThreeTicksInOrder)
{
    Send("ProcessPackage|A|install");
    Send("ProcessPackage|B|install");
    Send("ProcessPackage|C|install");
    std::vector<AnsiString> seen;
    for (int tick = 0; tick < 4; ++tick) {
        Tick();
        seen.push_back(Upper());
    }
    EXPECT_EQ(seen, (std::vector<AnsiString>{"Installing A", "Installing B", "Installing C", "Installing C"}));
}

TEST_F(MessageWindow, RebootShowsTheCountdownInItsOwnTickAndHidesLaterTexts)
{
    Send("Reboot|60");
    Tick();
    EXPECT_EQ(Upper(), "Reboot in 60 s");
    Send("ProcessPackage|Foo|install");
    Tick();
    EXPECT_EQ(Upper(), "Reboot in 60 s") << "the countdown replaces the text in the same tick";
    Send("Reboot|10");
    Tick();
    EXPECT_EQ(Upper(), "Reboot in 10 s");
    // Without a time the countdown restarts with the previous one.
    Send("Reboot");
    Tick();
    EXPECT_EQ(Upper(), "Reboot in 10 s");
}

TEST_F(MessageWindow, RebootWithoutUsableTimeShowsTheTextWithoutTime)
{
    for (const char* command : {"Reboot", "Reboot|0", "Reboot|-5", "Reboot|abc", "Reboot|"}) {
        Open();
        Send(command);
        Tick();
        EXPECT_EQ(Upper(), "Reboot now") << command;
    }
}

TEST_F(MessageWindow, ExtremeRebootTimesGiveTheRightText)
{
    Send("Reboot|2147483647");
    Tick();
    EXPECT_EQ(Upper(), "Reboot in 2147483647 s");
    Send("Reboot|-2147483648");
    Tick();
    EXPECT_EQ(Upper(), "Reboot now");
}

TEST_F(MessageWindow, MalformedPackageCommandRaisesTheListIndexErrorAndTheNextIsApplied)
{
    Send(AnsiString("ProcessPackage\0", 15));
    Send("FinishInstallation");
    EXPECT_THROW_MSG(Tick(), EStringListError, "Der Index der Liste überschreitet das Maximum (1)");
    EXPECT_EQ(Form->Pgb1->Position(), 0) << "the rest of the failed tick is skipped";
    Tick();
    EXPECT_EQ(Upper(), "Finished");
}

TEST_F(MessageWindow, SecondWindowCannotCreateTheMailslot)
{
    EXPECT_THROW_MSG(TChannelReader second(Slot), Exception, "Unable to create Mailslot");
    Send("FinishInstallation");
    Tick();
    EXPECT_EQ(Upper(), "Finished");
}

} // namespace
