#pragma once
// The command channel as the rest of the Windows program sees it: a mailslot.
#include "AnsiString.h"
#include "Channel.h"

// Whether a window run holds the mailslot `name`: it opens for writing, or
// its security refuses the open (only a mailslot that exists has any).
// Asking writes nothing.
bool ChannelHeld(const AnsiString& name);

// The mailslot's own handle: what the system keeps of it (its security) can
// be read only there.
void* PlatformHandle(const TChannelReader& reader);
