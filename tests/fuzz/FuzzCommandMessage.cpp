// From a message's raw bytes to a decoded command: the only exception is the
// list-index error of a package command without a name field, and what is
// decoded agrees with the fields.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Command.h"
#include "SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const AnsiString message(reinterpret_cast<const char*>(data), size);
    TStringList fields;
    SplitCommandMessage(message, fields);
    TCommand command;
    try {
        command = DecodeCommand(fields);
    } catch (const EStringListError&) {
        if (fields.Count() != 1 || fields[0] != "ProcessPackage")
            std::abort();
        return 0;
    }
    const AnsiString word = fields.Count() > 0 ? fields[0] : AnsiString();
    switch (command.Kind) {
    case TCommandKind::Ignored:
        if (word == "Terminate" || word == "FinishInstallation" || word == "Reboot" || word == "ProcessPackage")
            std::abort();
        break;
    case TCommandKind::Reboot:
        if (command.HasTime != (fields.Count() > 1) || (command.HasTime && command.Time != RebootTimeFromText(fields[1])))
            std::abort();
        break;
    case TCommandKind::ProcessPackage:
        if (command.PackageName != fields[1] || (fields.Count() < 3 && command.Action != TPackageAction::Install))
            std::abort();
        break;
    default:
        if ((command.Kind == TCommandKind::Terminate) != (word == "Terminate"))
            std::abort();
        break;
    }
    return 0;
}
