#include "Senders.h"

#include "Command.h"
#include "Mailslot.h"

void SendTerminate()
{
    WriteMailslot(CommandMailslotName, TerminateText());
}

void SendFinishInstallation()
{
    WriteMailslot(CommandMailslotName, FinishInstallationText());
}

void SendReboot(const AnsiString& time)
{
    WriteMailslot(CommandMailslotName, RebootText(time));
}

void SendProcessPackage(const AnsiString& name, const AnsiString& action)
{
    WriteMailslot(CommandMailslotName, ProcessPackageText(name, action));
}
