#include "Relaunch.h"

bool HandOverWindowRun()
{
    return false;
}

std::function<bool()> HandingRunEnded()
{
    return {};
}

std::unique_ptr<TChannelReader> HandedOverChannel()
{
    return nullptr;
}
