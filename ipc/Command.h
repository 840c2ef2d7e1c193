#pragma once
// Command texts: fields joined by "|", carried one per message of the command
// channel with a terminating NUL, in UTF-8. Building them for the senders,
// and decoding what the reader took from the channel.
#include <optional>

#include "AnsiString.h"
#include "Classes.h"

AnsiString TerminateText();
AnsiString FinishInstallationText();
// "Reboot", and "|" and the time when the time text is not empty.
AnsiString RebootText(const AnsiString& time);
// "Progress", and "|" and the percentage as given when that is not empty.
AnsiString ProgressText(const AnsiString& percent);
// "ProcessPackage|" and the name, and "|" and the action when that is not
// empty; a name that would make the text longer than `maxBytes` is cut on a
// character's boundary.
AnsiString ProcessPackageText(const AnsiString& name, const AnsiString& action,
                              size_t maxBytes = AnsiString::npos);

enum class TCommandKind { Ignored, Terminate, FinishInstallation, Reboot, ProcessPackage, Progress };
enum class TPackageAction { Install, Upgrade, Remove, Other };

struct TCommand {
    TCommandKind Kind = TCommandKind::Ignored;
    // Reboot: whether the command carried a time, and the time in seconds.
    bool HasTime = false;
    int Time = 0;
    // ProcessPackage.
    AnsiString PackageName;
    TPackageAction Action = TPackageAction::Install;
    // Progress: the bar's percentage (0 to 100), or none for the bar that
    // cycles on its own.
    std::optional<int> Percent;
};

// The fields of a message: its bytes up to the first NUL (all of them when
// there is none), split at every "|". An empty text gives no field.
void SplitCommandMessage(const AnsiString& message, TStrings& fields);

// Decodes the fields; words and actions are compared case-sensitively. A
// "ProcessPackage" without a name field raises the list's EStringListError,
// as reading a missing field does.
TCommand DecodeCommand(const TStrings& fields);

// A message read from the channel, split and decoded in one call. A text that
// is not well-formed UTF-8 (from an older sender) is read in the legacy code
// page.
TCommand DecodeMessage(const AnsiString& message);

// The reboot time of a field: the framework's integer conversion, 0 for
// anything it does not accept.
int RebootTimeFromText(const AnsiString& field);

// The percentage of a field: decimal digits with an optional sign and blanks
// around, clamped to 0 to 100; none for any other text.
std::optional<int> PercentFromText(const AnsiString& field);
