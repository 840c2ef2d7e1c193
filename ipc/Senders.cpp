#include "Senders.h"

#include "Command.h"
#include "Channel.h"
#include "ChannelPlatform.h"

void SendTerminate()
{
    WriteMailslot(CommandChannelName, TerminateText());
}

void SendFinishInstallation()
{
    WriteMailslot(CommandChannelName, FinishInstallationText());
}

void SendReboot(const AnsiString& time)
{
    WriteMailslot(CommandChannelName, RebootText(time));
}

void SendProgress(const AnsiString& percent)
{
    WriteMailslot(CommandChannelName, ProgressText(percent));
}

void SendProcessPackage(const AnsiString& name, const AnsiString& action)
{
    WriteMailslot(CommandChannelName, ProcessPackageText(name, action, MaxCommandBytes));
}
