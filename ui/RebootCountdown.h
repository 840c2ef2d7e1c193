#pragma once
// The arithmetic of the reboot countdown, apart from any clock.
#include <cstdint>

// Whole seconds left of a countdown of `seconds` that started at tick `start`,
// at tick `now`. Ticks are milliseconds that wrap at 2^32; the difference is
// taken modulo 2^32, so a countdown that spans the wrap stays right. Computed
// wider than 32 bits: any `seconds`, however large or negative, gives the
// exact result.
int64_t RebootSecondsLeft(int seconds, uint32_t start, uint32_t now);
