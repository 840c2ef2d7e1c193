#pragma once
// The command mailslot as the rest of the Windows program sees it.
#include "AnsiString.h"

// Whether a window run holds the mailslot `name`: it opens for writing, or
// its security refuses the open (only a mailslot that exists has any).
// Asking writes nothing.
bool MailslotHeld(const AnsiString& name);
