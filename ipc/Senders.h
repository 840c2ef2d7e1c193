#pragma once
// The sender side: each call writes one command into the command channel and
// returns when that one attempt is over, whether or not a window received it.
#include "AnsiString.h"

void SendTerminate();
void SendFinishInstallation();
void SendReboot(const AnsiString& time);
void SendProcessPackage(const AnsiString& name, const AnsiString& action);
