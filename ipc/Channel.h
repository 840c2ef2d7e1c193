#pragma once
// The command channel: one-way, machine-local, whole messages first in first
// out, at most one reader. A mailslot on Windows, a datagram socket on Linux;
// the names that speak of a mailslot (WriteMailslot, "Unable to create
// Mailslot") are the program's documented ones.
#include <memory>

#include "AnsiString.h"

// \\.\mailslot\deployNotice\Commands
extern const char CommandChannelName[];

// Writes `text` and its terminating NUL as one message into the channel
// `name`. When no reader has created the channel the text is dropped without
// a word: a sender cannot tell whether its command arrived. Only while a run
// of this program that started earlier still lives (a window run may be about
// to create the channel) does it wait for the channel, at most five seconds
// in all.
void WriteMailslot(const AnsiString& name, const AnsiString& text);

// The read side. Creating it creates the channel; only one can exist per
// name, so a second one raises Exception "Unable to create Mailslot".
class TChannelReader {
public:
    explicit TChannelReader(const AnsiString& name);
    ~TChannelReader();
    TChannelReader(const TChannelReader&) = delete;
    TChannelReader& operator=(const TChannelReader&) = delete;

    // Takes the next waiting message, whole, without waiting. False when none
    // waits or the read fails; the next call tries again.
    bool ReadMessage(AnsiString& message);

private:
    // The platform's own object, for what only the platform can tell of it
    // (Channel_win32.h).
    friend void* PlatformHandle(const TChannelReader& reader);
    // A reader of a channel that another process made for this one
    // (Channel_linux.h, Channel_win32.h).
    friend std::unique_ptr<TChannelReader> AdoptChannelReader(int descriptor);
    friend std::unique_ptr<TChannelReader> AdoptChannelReader(void* pipe);
    TChannelReader() = default;
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};
