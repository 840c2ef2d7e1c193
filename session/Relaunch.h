#pragma once
#include <functional>
#include <memory>

#include "Channel.h"

// Deployments run as SYSTEM (Windows) or root (Linux), outside the desktop
// session of the user who is logged on. Their window run hands the window
// over to a run of the same program in that user's session, as that user,
// and waits for it; a run of the user itself shows its window where it is.

// Called by the window run before it takes its command channel. True when
// this process does not show the window: it has handed it over and the other
// run has ended, or nobody is there to see it; the run then ends. False: the
// window is shown here.
bool HandOverWindowRun();

// In a window run that a root run started in the user's session (Linux): the
// channel that the root run feeds it through, which it reads in place of the
// named one; null for any other run.
std::unique_ptr<TChannelReader> HandedOverChannel();

// In a window run that a SYSTEM run started in the user's session: whether
// that run has ended; the window then ends too, so that nothing holds the
// channel once the deployment's run is gone. Empty for any other run, and on
// Linux, where the kernel ends a window whose root run ends.
std::function<bool()> HandingRunEnded();
