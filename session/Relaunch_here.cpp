#include "Relaunch.h"

bool HandOverWindowRun()
{
    return false;
}

std::function<bool()> HandingRunEnded()
{
    return {};
}
