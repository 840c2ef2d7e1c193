#include "WindowState.h"

#include <exception>
#include <string>

#include "Command.h"

void TWindowState::Apply(const AnsiString& message, uint32_t now)
{
    TCommand command;
    try {
        command = DecodeMessage(message);
    } catch (const std::exception&) {
        return;
    }
    switch (command.Kind) {
    case TCommandKind::Terminate:
        FTerminated = true;
        break;
    case TCommandKind::FinishInstallation:
    case TCommandKind::ProcessPackage:
        FUpper = message;
        break;
    case TCommandKind::Reboot:
        // As the window does: a reboot without a time keeps the earlier time
        // and starts it again.
        FReboot = true;
        if (command.HasTime)
            FRebootTime = command.Time;
        FRebootStart = now;
        break;
    case TCommandKind::Progress:
        FProgress = command.Percent ? std::optional<AnsiString>(message) : std::nullopt;
        break;
    case TCommandKind::Ignored:
        break;
    }
}

std::vector<AnsiString> TWindowState::Replay(uint32_t now) const
{
    std::vector<AnsiString> messages;
    if (FReboot) {
        // Whole seconds left, counted as the window counts them; none left
        // shows the reboot text without a time, as the window does then.
        const int64_t left = static_cast<int64_t>(FRebootTime) - static_cast<int64_t>((now - FRebootStart) / 1000);
        messages.push_back(RebootText(FRebootTime != 0 && left > 0 ? std::to_string(left) : "") + '\0');
    }
    if (FProgress)
        messages.push_back(*FProgress);
    if (!FReboot && !FUpper.empty())
        messages.push_back(FUpper);
    return messages;
}
