#include "EntryRoutine.h"

#include <cstdio>
#include <optional>

#include "ExtCtrls.h"
#include "FilePaths.h"
#include "Forms.h"
#include "Frm_main.h"
#include "Channel.h"
#include "Relaunch.h"
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

// A window that a SYSTEM run handed over ends with that run, however it
// ends: a deployment agent that ends its script on a time-out must not leave
// a window behind that holds the channel for every later deployment.
void EndWithHandingRun()
{
    std::function<bool()> ended = HandingRunEnded();
    if (!ended)
        return;
    auto* watch = new TTimer(FrmMain);
    watch->SetInterval(250);
    watch->OnTimer = [ended = std::move(ended)](TObject*) {
        if (ended())
            Application->Terminate();
    };
}

// A window without texts is what an administrator sees first whose ini file
// is missing or unreadable: one line says which file and why. A relaunched
// run's line reaches the deployment's log through the run that started it.
void ReportUnreadableTexts()
{
    const unsigned long error = FileReadError(Settings->IniFileName());
    if (error != 0)
        std::fprintf(stderr, "deployNotice: the window shows no texts: \"%s\" cannot be read: %s\n",
                     Settings->IniFileName().c_str(), SysErrorMessage(error).c_str());
}

// The message window runs until it is told to end. Its channel comes first,
// before any windowing library is loaded: a script that starts the window and
// sends at once finds it all the sooner. A run that hands the window over to
// the user's session takes none: the process that shows the window does. A
// second window run cannot create the channel: its error box comes from the
// caller's handler. A run that root started for the user reads the channel
// that root feeds it.
void RunWindow()
{
    if (HandOverWindowRun())
        return;
    std::unique_ptr<TChannelReader> channel = HandedOverChannel();
    if (!channel)
        channel = std::make_unique<TChannelReader>(CommandChannelName);
    ReportUnreadableTexts();
    NUtilsKx::RemoveWindowTaskbar(Application->Handle());
    Application->CreateForm(FrmMain, std::move(channel));
    EndWithHandingRun();
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
    case TRunKind::Progress:
        SendProgress(choice.Percent);
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
        Run(ChooseRun(ProcessArgumentsUtf8()));
    } catch (const std::exception& error) {
        Application->ShowException(error);
    }
    return 0;
}
