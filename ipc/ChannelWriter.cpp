// The sender's write. A window run creates its channel first thing, but a
// script that starts it and sends at once can still be faster than the new
// process: while a run of this program that started earlier lives, the
// sender waits for the channel to appear. With no such run it gives up at
// once, so a script without a window never waits.
#include <algorithm>
#include <optional>
#include <thread>

#include "Channel.h"
#include "ChannelPlatform.h"

namespace {

using namespace std::chrono_literals;

// Together with any wait for room in a full queue.
constexpr std::chrono::milliseconds SenderPatience = 5s;
constexpr std::chrono::milliseconds RoomPatience = 2s;
constexpr std::chrono::milliseconds PollInterval = 10ms;

} // namespace

void WriteMailslot(const AnsiString& name, const AnsiString& text)
{
    const auto deadline = std::chrono::steady_clock::now() + SenderPatience;
    std::optional<TEarlierRuns> earlier;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (TryWriteChannel(name, text, std::clamp(left, 1ms, RoomPatience)) != TWriteResult::NoReader)
            return;
        if (!earlier)
            earlier.emplace();
        if (!earlier->AnyAlive() || left <= PollInterval)
            return;
        std::this_thread::sleep_for(PollInterval);
    }
}
