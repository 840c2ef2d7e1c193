#pragma once
// The command mailslot: one-way, machine-local, whole messages first in first
// out, at most one reader.
#include <memory>

#include "AnsiString.h"

// \\.\mailslot\deployNotice\Commands
extern const char CommandMailslotName[];

// Writes `text` and its terminating NUL as one message into the mailslot
// `name`. When no reader has created the mailslot the text is dropped without
// a word: a sender cannot tell whether its command arrived. Only while a run
// of this program that started earlier still lives (a window run may be about
// to create the mailslot) does it wait for the mailslot, at most five seconds
// in all.
void WriteMailslot(const AnsiString& name, const AnsiString& text);

// The read side. Creating it creates the mailslot; only one can exist per
// name, so a second one raises Exception "Unable to create Mailslot".
class TMailslotReader {
public:
    explicit TMailslotReader(const AnsiString& name);
    ~TMailslotReader();
    TMailslotReader(const TMailslotReader&) = delete;
    TMailslotReader& operator=(const TMailslotReader&) = delete;

    // Takes the next waiting message, whole, without waiting. False when none
    // waits or the read fails; the next call tries again.
    bool ReadMessage(AnsiString& message);

#ifdef _WIN32
    // The mailslot's own handle: what the system keeps of it (its security)
    // can be read only there.
    void* Handle() const;
#endif

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};
