#pragma once
// The command channel as the rest of the Windows program sees it: a mailslot,
// and the pipe through which a SYSTEM run feeds the window run it started.
#include <windows.h>

#include <deque>
#include <memory>

#include "AnsiString.h"
#include "Channel.h"
#include "Handle.h"

// Whether a window run holds the mailslot `name`: it opens for writing, or
// its security refuses the open (only a mailslot that exists has any).
// Asking writes nothing.
bool ChannelHeld(const AnsiString& name);

// The mailslot's own handle: what the system keeps of it (its security) can
// be read only there.
void* PlatformHandle(const TChannelReader& reader);

// The commands of one window run that this process started, each a message
// of a pipe that only this process could open, whose read end (read only)
// the window run inherits: the window can neither write back nor be reached
// by anyone else. Messages wait here, in order, while the pipe is full, so
// that a window that hangs never holds up this process.
class TChannelFeed {
public:
    TChannelFeed();
    ~TChannelFeed();
    TChannelFeed(const TChannelFeed&) = delete;
    TChannelFeed& operator=(const TChannelFeed&) = delete;

    // Inheritable; closed here once the window run has started.
    HANDLE ReadEnd() const { return FReadEnd.Get(); }
    void CloseReadEnd() { FReadEnd.Reset(); }

    void Send(const AnsiString& message);
    // Passes on what waits, as far as the pipe takes it without waiting.
    void Flush();
    // Signalled when a write that had to wait has gone through.
    HANDLE Written() const { return FWritten.Get(); }

private:
    TFileHandle FPipe;
    TFileHandle FReadEnd;
    TKernelHandle FWritten;
    OVERLAPPED FWrite{};
    bool FPending = false;
    std::deque<AnsiString> FWaiting;
};

// A reader of the read end of a TChannelFeed's pipe that this process
// inherited, in place of the mailslot.
std::unique_ptr<TChannelReader> AdoptChannelReader(HANDLE pipe);
