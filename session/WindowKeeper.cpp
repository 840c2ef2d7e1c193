#include "WindowKeeper.h"

#include <thread>

#include "Command.h"
#include "Consts.h"
#include "Diagnostics.h"
#include "Forms.h"
#include "HandOverChoice.h"
#include "SysUtils.h"

namespace {

using namespace std::chrono_literals;

// The sessions are asked no more often than this.
constexpr auto LookUpPeriod = 1s;
constexpr auto Tick = 250ms;
constexpr auto StopBound = 5s;
// The system may show a session for a moment after its window has gone with
// it (logind lags behind a display that went away).
constexpr auto EndBound = 2s;

} // namespace

TWindowKeeper::TWindowKeeper(TPlatform& platform, const char* nobodyLine)
    : FPlatform(platform), FNobodyLine(nobodyLine), FChannel(CommandChannelName)
{
}

void TWindowKeeper::Run(const TSessionChoice& first)
{
    Follow(first);
    auto nextLookUp = TClock::now() + LookUpPeriod;
    while (!FGivenUp) {
        TakeCommands();
        if (FWindow)
            FPlatform.Flush();
        if (!FWindow && FState.Terminated())
            return;
        if (FWindow && FPlatform.Ended()) {
            EndOfWindow();
            continue;
        }
        if (!FState.Terminated() && FPlatform.StarterEnded()) {
            WriteDiagnostic(SStarterEnded);
            EndDeployment();
        }
        const auto now = TClock::now();
        if (!FState.Terminated() && now >= nextLookUp) {
            Follow(FPlatform.LookUp());
            nextLookUp = TClock::now() + LookUpPeriod;
        }
        if (FWindow && FWindow->KillAt && now >= *FWindow->KillAt)
            FPlatform.Kill();
        FPlatform.Wait(Tick, !FState.Terminated());
    }
}

// Every waiting command is kept and passed on, in order.
void TWindowKeeper::TakeCommands()
{
    AnsiString message;
    while (FChannel.ReadMessage(message)) {
        FState.Apply(message, GetTickCount32());
        if (FWindow)
            FPlatform.Send(message);
    }
    if (FState.Terminated() && FWindow && !FWindow->KillAt)
        FWindow->KillAt = TClock::now() + StopBound;
}

// The window goes where the choice says, or ends where nobody sees it.
void TWindowKeeper::Follow(const TSessionChoice& choice)
{
    if (choice.Kind == TSessionChoice::TKind::There) {
        if (!FWindow)
            Start(choice);
        else if (FWindow->Choice.Session != choice.Session && !FWindow->KillAt)
            LeaveSession();
        return;
    }
    if (FWindow && !FWindow->KillAt)
        LeaveSession();
    else if (!FWindow && !FSaidWaiting && choice.Kind == TSessionChoice::TKind::Nobody) {
        WriteDiagnostic(FNobodyLine);
        FSaidWaiting = true;
    }
}

void TWindowKeeper::LeaveSession()
{
    WriteDiagnostic(Format(SSessionLeft, FWindow->Choice.Session.c_str(), FWindow->Choice.User.c_str()));
    StopWindow();
}

// Tells the window to end, as a script would; what comes after it goes to
// the next window.
void TWindowKeeper::StopWindow()
{
    FPlatform.Send(TerminateText() + '\0');
    FWindow->KillAt = TClock::now() + StopBound;
}

void TWindowKeeper::EndDeployment()
{
    FState.Apply(TerminateText() + '\0', GetTickCount32());
    if (FWindow && !FWindow->KillAt)
        StopWindow();
}

// A relaunch that fails shows no box: nobody would see it, and it would hold
// up the deployment.
void TWindowKeeper::Start(const TSessionChoice& choice)
{
    try {
        if (!FPlatform.Start(choice)) {
            FGivenUp = true;
            return;
        }
        FWindow.emplace(TShown{choice, {}});
        for (const AnsiString& message : FState.Replay(GetTickCount32()))
            FPlatform.Send(message);
        FSaidWaiting = false;
    } catch (const std::exception& error) {
        WriteDiagnostic(HandOverFailedLine(choice.Session, choice.User, error), TDiagnosticKind::Error);
        FGivenUp = true;
    }
}

// How the window run ended, said; then whether the deployment goes on. A
// window that ended by itself (closed, killed) where its session still is
// the right one ends the deployment's run too; one whose session went away
// is shown again wherever the user is now.
void TWindowKeeper::EndOfWindow()
{
    const bool unseen = FPlatform.Release();
    const bool told = FWindow->KillAt.has_value();
    const AnsiString session = FWindow->Choice.Session;
    FWindow.reset();
    if (FState.Terminated())
        return;
    if (told) {
        Follow(FPlatform.LookUp());
        return;
    }
    if (unseen) {
        FGivenUp = true;
        return;
    }
    for (const auto until = TClock::now() + EndBound;;) {
        const TSessionChoice choice = FPlatform.LookUp();
        if (choice.Kind != TSessionChoice::TKind::There || choice.Session != session) {
            Follow(choice);
            return;
        }
        if (TClock::now() >= until)
            break;
        std::this_thread::sleep_for(Tick * 2);
    }
    FGivenUp = true;
}
