#pragma once
// The sender side: each call writes one command into the command channel and
// returns when that one attempt is over, whether or not a window received it.
// Texts are UTF-8; a package name too long for the channel is cut on a
// character's boundary.
#include "AnsiString.h"

void SendTerminate();
void SendFinishInstallation();
void SendReboot(const AnsiString& time);
void SendProcessPackage(const AnsiString& name, const AnsiString& action);
void SendProgress(const AnsiString& percent);
