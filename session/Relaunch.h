#pragma once
#include <functional>
#include <memory>

#include "Channel.h"

// Deployments run as SYSTEM (Windows) or root (Linux), outside the desktop
// session of the user who is logged on. Their window run keeps the command
// channel for the whole deployment and has the window shown by a run of the
// same program in that user's session, as that user, which it feeds; a run
// of the user itself shows its window where it is.

// Called by the window run before it takes its command channel. True when
// this process does not show the window: it has handed it over for the
// whole deployment (which has ended now), or a window is open already; the
// run then ends. False: the window is shown here.
bool HandOverWindowRun();

// In a window run that a SYSTEM or root run started in the user's session:
// the channel that that run feeds it through, which it reads in place of the
// named one; null for any other run.
std::unique_ptr<TChannelReader> HandedOverChannel();

// In a window run that a SYSTEM run started in the user's session: whether
// that run has ended; the window then ends too, so that nothing holds the
// channel once the deployment's run is gone. Empty for any other run, and on
// Linux, where the kernel ends a window whose root run ends.
std::function<bool()> HandingRunEnded();
