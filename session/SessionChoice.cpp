#include "SessionChoice.h"

#include <cctype>

namespace {

// A session that can show a window to the person at the machine: graphical,
// in the foreground of a local seat, of a user who is logged on (not the
// login screen's own user) and whom the system still knows.
bool ShowsToSomeone(const TLoginSession& session)
{
    return (session.Type == "x11" || session.Type == "wayland") && session.State == "active" && !session.Seat.empty() &&
           !session.Remote && (session.Class == "user" || session.Class == "user-early") && session.UserExists;
}

// seat0 before any other seat, then the session that began last.
bool Before(const TLoginSession& a, const TLoginSession& b)
{
    const bool aFirstSeat = a.Seat == "seat0";
    const bool bFirstSeat = b.Seat == "seat0";
    if (aFirstSeat != bFirstSeat)
        return aFirstSeat;
    return a.Started > b.Started;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// What a letter after a backslash stands for; any other character stands
// for itself.
char EscapedLetter(char letter)
{
    constexpr char letters[][2] = {{'a', '\a'}, {'b', '\b'}, {'e', '\x1b'}, {'f', '\f'},
                                   {'n', '\n'}, {'r', '\r'}, {'t', '\t'},   {'v', '\v'}};
    for (const auto& pair : letters)
        if (pair[0] == letter)
            return pair[1];
    return letter;
}

// The value of $'...' from behind its opening quote: C escapes, up to the
// closing quote.
std::string Unescape(const std::string& text, size_t at)
{
    std::string value;
    while (at < text.size() && text[at] != '\'') {
        const char c = text[at++];
        if (c != '\\' || at >= text.size()) {
            value += c;
            continue;
        }
        const char escape = text[at++];
        if (escape == 'x') {
            int code = 0;
            for (int digits = 0; digits < 2 && at < text.size() && HexDigit(text[at]) >= 0; ++digits)
                code = code * 16 + HexDigit(text[at++]);
            value += static_cast<char>(code);
        } else if (escape >= '0' && escape <= '7') {
            int code = escape - '0';
            for (int digits = 1; digits < 3 && at < text.size() && text[at] >= '0' && text[at] <= '7'; ++digits)
                code = code * 8 + (text[at++] - '0');
            value += static_cast<char>(code);
        } else {
            value += EscapedLetter(escape);
        }
    }
    return value;
}

// The value of "..." from behind its opening quote: a backslash keeps the
// character after it.
std::string Unquote(const std::string& text, size_t at)
{
    std::string value;
    while (at < text.size() && text[at] != '"') {
        if (text[at] == '\\' && at + 1 < text.size())
            ++at;
        value += text[at++];
    }
    return value;
}

} // namespace

TLoginHandOver ChooseHandOver(unsigned ownUid, const std::vector<TLoginSession>& sessions)
{
    if (ownUid != 0)
        return {THandOverKind::ShowHere, {}};
    const TLoginSession* chosen = nullptr;
    for (const TLoginSession& session : sessions)
        if (ShowsToSomeone(session) && (chosen == nullptr || Before(session, *chosen)))
            chosen = &session;
    if (chosen == nullptr)
        return {THandOverKind::NobodyThere, {}};
    return {chosen->Uid == 0 ? THandOverKind::ShowHere : THandOverKind::Relaunch, *chosen};
}

TVariables ParseManagerEnvironment(const std::string& text)
{
    TVariables variables;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t equals = line.find('=');
        if (equals == 0 || equals == std::string::npos)
            continue;
        const std::string name = line.substr(0, equals);
        if (line.compare(equals + 1, 2, "$'") == 0)
            variables[name] = Unescape(line, equals + 3);
        else if (line.compare(equals + 1, 1, "\"") == 0)
            variables[name] = Unquote(line, equals + 2);
        else
            variables[name] = line.substr(equals + 1);
    }
    return variables;
}

TVariables RelaunchEnvironment(const TAccount& account, const TLoginSession& session,
                               const std::vector<TVariables>& sources)
{
    TVariables environment;
    const auto take = [&](const std::string& name) {
        for (const TVariables& source : sources) {
            const auto found = source.find(name);
            if (found != source.end() && !found->second.empty()) {
                environment.emplace(name, found->second);
                return;
            }
        }
    };
    for (const char* name :
         {"DISPLAY", "XAUTHORITY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "DBUS_SESSION_BUS_ADDRESS", "PATH", "LANG",
          "LANGUAGE"})
        take(name);
    for (const TVariables& source : sources)
        for (const auto& [name, value] : source)
            if (name.starts_with("LC_"))
                take(name);
    if (session.Type == "x11" && !session.Display.empty())
        environment["DISPLAY"] = session.Display;
    environment.emplace("PATH", "/usr/local/bin:/usr/bin:/bin");
    environment["HOME"] = account.Home;
    environment["USER"] = account.Name;
    environment["LOGNAME"] = account.Name;
    return environment;
}
