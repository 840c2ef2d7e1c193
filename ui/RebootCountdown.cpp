#include "RebootCountdown.h"

int64_t RebootSecondsLeft(int seconds, uint32_t start, uint32_t now)
{
    const uint32_t elapsedMs = now - start;
    return static_cast<int64_t>(seconds) - static_cast<int64_t>(elapsedMs / 1000);
}
