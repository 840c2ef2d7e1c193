#pragma once
// What the deployment's window shows, kept by a run that holds the command
// channel while its window lives in another process (or nowhere yet): so that
// a window started later, or in another session, shows the same at once.
#include <cstdint>
#include <optional>
#include <vector>

#include "AnsiString.h"

class TWindowState {
public:
    // Takes one message from the channel as the window applies it; `now` is
    // the tick count in milliseconds. A message that the window would refuse
    // changes nothing.
    void Apply(const AnsiString& message, uint32_t now);

    // The messages that bring a new window to this state at `now`: a
    // countdown first, going on where it stands, then the bar's percentage,
    // then the upper text (which a countdown hides).
    std::vector<AnsiString> Replay(uint32_t now) const;

    // Whether a Terminate has come.
    bool Terminated() const { return FTerminated; }

private:
    AnsiString FUpper;
    std::optional<AnsiString> FProgress;
    bool FReboot = false;
    int FRebootTime = 0;
    uint32_t FRebootStart = 0;
    bool FTerminated = false;
};
