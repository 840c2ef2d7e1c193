// What a window started later is given to show, after the messages that its
// predecessor took.
#include <gtest/gtest.h>

#include "WindowState.h"

namespace {

AnsiString M(const char* text)
{
    return AnsiString(text) + '\0';
}

TEST(WindowState, ReplayShowsWhatTheWindowShowsNow)
{
    const struct {
        const char* Row;
        std::vector<std::pair<AnsiString, uint32_t>> Taken;
        uint32_t Now;
        std::vector<AnsiString> Replay;
    } cases[] = {
        {"the last upper text wins, a refused message changes nothing",
         {{M("ProcessPackage|Foo|install"), 0},
          {M("FinishInstallation"), 10},
          {M("ProcessPackage"), 20},
          {M("Bogus"), 30}},
         40,
         {M("FinishInstallation")}},
        {"the bar cycles again", {{M("Progress|40"), 0}, {M("Progress"), 0}}, 0, {}},
        {"a countdown goes on where it stands and hides the upper text",
         {{M("ProcessPackage|Foo|install"), 0}, {M("Progress|7"), 0}, {M("Reboot|120"), 1000}},
         31999,
         {M("Reboot|90"), M("Progress|7")}},
        {"a countdown that has run out, across the tick count's wrap",
         {{M("Reboot|5"), 0xFFFFF000u}},
         5000,
         {M("Reboot")}},
        {"a reboot without time keeps the earlier one and starts it again",
         {{M("Reboot|60"), 0}, {M("Reboot"), 50000}},
         60000,
         {M("Reboot|50")}},
    };
    for (const auto& c : cases) {
        TWindowState state;
        for (const auto& [message, at] : c.Taken)
            state.Apply(message, at);
        EXPECT_EQ(state.Replay(c.Now), c.Replay) << c.Row;
        EXPECT_FALSE(state.Terminated()) << c.Row;
    }
}

} // namespace
