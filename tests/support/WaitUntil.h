#pragma once
// Waiting in tests: by polling a condition, never by a fixed sleep.
#include <chrono>
#include <functional>

// Polls `condition` until it holds or `timeout` passes.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(10000));
