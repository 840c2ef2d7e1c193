#include "EntryRoutine.h"

#include <optional>

#include "Forms.h"
#include "Frm_main.h"
#include "Senders.h"
#include "StartUp.h"
#include "SysUtils.h"
#include "Unt_settings.h"
#include "UtilsKx.h"

namespace {

void ShowUsage()
{
    Application->ShowMessage(UsageText, TMessageIcon::None);
}

// The message window runs until it is told to end. A second window run cannot
// create the command mailslot: its error box comes from the caller's handler.
void RunWindow()
{
    NUtilsKx::RemoveWindowTaskbar(Application->Handle());
    Application->CreateForm(FrmMain);
    Application->Run();
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
        RunWindow();
        break;
    }
}

} // namespace

int RunEntryRoutine()
{
    Application->Initialize();
    Application->Title = "deployNotice";
    // The settings object lives around every kind of run and is destroyed on
    // every way out. Its creation touches no file; should it fail all the
    // same, the run ends with the error box instead of a crash.
    std::optional<TSettings> settings;
    try {
        settings.emplace();
    } catch (const std::exception& error) {
        Application->ShowException(error);
        return 0;
    }
    try {
        Run(ChooseRun(ProcessArguments()));
    } catch (const std::exception& error) {
        Application->ShowException(error);
    }
    return 0;
}
