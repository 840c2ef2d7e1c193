#include "EntryRoutine.h"

#include "Forms.h"
#include "Senders.h"
#include "StartUp.h"
#include "SysUtils.h"

namespace {

void ShowUsage()
{
    Application->ShowMessage(UsageText, TMessageIcon::None);
}

void Run(const TRunChoice& choice)
{
    switch (choice.Kind) {
    case TRunKind::Terminate:
        SendTerminate();
        break;
    case TRunKind::FinishInstallation:
        SendFinishInstallation();
        break;
    case TRunKind::Reboot:
        SendReboot(choice.Time);
        break;
    case TRunKind::ProcessPackage:
        SendProcessPackage(choice.PackageName, choice.Action);
        break;
    case TRunKind::Usage:
        ShowUsage();
        break;
    case TRunKind::Window:
        break;
    }
}

} // namespace

int RunEntryRoutine()
{
    Application->Initialize();
    Application->Title = "deployNotice";
    try {
        Run(ChooseRun(ProcessArguments()));
    } catch (const std::exception& error) {
        Application->ShowException(error);
    }
    return 0;
}
