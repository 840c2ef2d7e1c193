#include "HandOverChoice.h"

#include <tuple>

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
