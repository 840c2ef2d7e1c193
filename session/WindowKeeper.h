#pragma once
// A SYSTEM (Windows) or root (Linux) window run for as long as the
// deployment's window would live: it holds the command channel, keeps what
// the window shows, and has the window shown by a run of the user of the
// session that the hand-over's rule chooses, whichever that is now; with
// nobody there, it waits. The user's run never writes to this one: each
// platform feeds it one way.
#include <chrono>
#include <optional>

#include "AnsiString.h"
#include "Channel.h"
#include "WindowState.h"

// Where the window belongs now.
struct TSessionChoice {
    enum class TKind {
        Nobody, // nobody is there to see it
        Arriving, // a session that is not ready for it yet: nowhere for now
        There // in Session, as User
    };
    TKind Kind = TKind::Nobody;
    AnsiString Session;
    AnsiString User;
};

class TWindowKeeper {
public:
    // What the keeper asks of the platform: the sessions, and the user's
    // window run, one at a time.
    class TPlatform {
    public:
        virtual ~TPlatform() = default;
        virtual TSessionChoice LookUp() = 0;
        // Starts the window run in the chosen session and says so; false when
        // that session cannot show a window (its line is written). Raises
        // Exception when the start fails.
        virtual bool Start(const TSessionChoice& choice) = 0;
        // To the window run, in order; Flush passes on what the window had no
        // room for yet, without waiting.
        virtual void Send(const AnsiString& message) = 0;
        virtual void Flush() = 0;
        virtual bool Ended() = 0;
        // Says how the window run ended and lets go of it; true when it could
        // not show the window at all.
        virtual bool Release() = 0;
        virtual void Kill() = 0;
        // Whether the process that started this run (the deployment's
        // script) has ended.
        virtual bool StarterEnded() = 0;
        // Until `tick` has passed, or the window run writes or ends, or (with
        // `starter`) the starter ends.
        virtual void Wait(std::chrono::milliseconds tick, bool starter) = 0;
    };

    // `nobodyLine` is the platform's words for nobody being there.
    TWindowKeeper(TPlatform& platform, const char* nobodyLine);

    // Until the deployment ends: a Terminate, the end of the process that
    // started this run, a window that ended by itself in the session that
    // still is the right one, or a window that could not be started or shown.
    void Run(const TSessionChoice& first);

private:
    using TClock = std::chrono::steady_clock;

    struct TShown {
        TSessionChoice Choice;
        // Set once this run has told it to end: it is killed if it has not by then.
        std::optional<TClock::time_point> KillAt;
    };

    void TakeCommands();
    void Follow(const TSessionChoice& choice);
    void LeaveSession();
    void StopWindow();
    void EndDeployment();
    void Start(const TSessionChoice& choice);
    void EndOfWindow();

    TPlatform& FPlatform;
    const char* FNobodyLine;
    TChannelReader FChannel;
    TWindowState FState;
    std::optional<TShown> FWindow;
    bool FSaidWaiting = false;
    bool FGivenUp = false;
};
