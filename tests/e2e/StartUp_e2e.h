#pragma once
// What the start-up end-to-end cases of every platform share, and what each
// platform gives them.
#include <gtest/gtest.h>

#include <memory>

#include "ChannelProbe.h"
#include "Channel.h"
#include "TestProcess.h"

class SenderRun : public testing::Test {
protected:
    // The window's side of the channel, under its real name.
    TChannelReader Reader{CommandChannelName};

    std::vector<AnsiString> Messages();
    // Runs one sender and returns the one message it wrote.
    AnsiString Sent(const std::vector<std::string>& arguments, const TChildProcess::TOptions& options = {});
};

// A window run that never gets as far as creating its channel: a process
// under the program's name that runs none of its code. (Platform file.)
std::unique_ptr<TChildProcess> StartWindowRunThatNeverGetsGoing(const TTempFolder& folder);
