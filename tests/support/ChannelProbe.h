#pragma once
// The command channel as a foreign writer and a prober see it, on either
// platform.
#include <vector>

#include "AnsiString.h"
#include "Channel.h"

// Writes raw bytes as one message, without the NUL that the program's senders
// add and without waiting; false when the channel would not take them.
bool WriteRaw(const AnsiString& name, const AnsiString& bytes);
// Whether a reader holds the channel `name`; asking sends nothing.
bool ChannelExists(const AnsiString& name);

// Every message that waits, oldest first.
std::vector<AnsiString> ReadAll(TChannelReader& reader);
// A command text as a message holds it: with its NUL.
AnsiString WithNul(const AnsiString& text);
