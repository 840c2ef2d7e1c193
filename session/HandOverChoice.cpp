#include "HandOverChoice.h"

#include <tuple>

#include "Consts.h"
#include "SysUtils.h"

namespace {

bool SomeoneWorksIn(const TUserSession& session)
{
    return session.Active && !session.User.empty();
}

const TUserSession* ChooseSession(const THandOverFacts& facts)
{
    for (const TUserSession& session : facts.Sessions)
        if (session.Id == facts.ConsoleSession && SomeoneWorksIn(session))
            return &session;
    const TUserSession* chosen = nullptr;
    for (const TUserSession& session : facts.Sessions) {
        if (!SomeoneWorksIn(session))
            continue;
        // Ties go to the lower session number, so that the same facts always
        // give the same session.
        if (chosen == nullptr || std::tie(session.LastInput, session.LogonTime, chosen->Id) >
                                     std::tie(chosen->LastInput, chosen->LogonTime, session.Id))
            chosen = &session;
    }
    return chosen;
}

} // namespace

THandOverChoice ChooseHandOver(const THandOverFacts& facts)
{
    THandOverChoice choice;
    if (!facts.System)
        choice.Kind = facts.StationVisible ? THandOverKind::ShowHere : THandOverKind::ShowUnseen;
    else if (facts.WindowOpen)
        choice.Kind = THandOverKind::WindowAlreadyOpen;
    else if (const TUserSession* session = ChooseSession(facts); session == nullptr)
        choice.Kind = THandOverKind::NobodyThere;
    else
        choice = {THandOverKind::Relaunch, session->Id, session->User};
    return choice;
}

AnsiString HandOverFailedLine(const AnsiString& session, const AnsiString& user, const std::exception& error)
{
    const AnsiString detail = ErrorDetail(error);
    return Format(SRelaunchIntoSessionFailed, session.c_str(), user.c_str(), error.what()) +
           (detail.empty() ? AnsiString() : " (" + detail + ")");
}
