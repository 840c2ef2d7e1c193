#include "Command.h"

#include <algorithm>
#include <string_view>

#include "SysUtils.h"
#include "Utf8.h"

namespace {
const char Separator = '|';
}

AnsiString TerminateText()
{
    return "Terminate";
}

AnsiString FinishInstallationText()
{
    return "FinishInstallation";
}

AnsiString RebootText(const AnsiString& time)
{
    AnsiString text = "Reboot";
    if (!time.empty())
        text += Separator + time;
    return text;
}

AnsiString ProgressText(const AnsiString& percent)
{
    AnsiString text = "Progress";
    if (!percent.empty())
        text += Separator + percent;
    return text;
}

AnsiString ProcessPackageText(const AnsiString& name, const AnsiString& action, size_t maxBytes)
{
    AnsiString text = "ProcessPackage";
    const size_t others = text.size() + 1 + (action.empty() ? 0 : action.size() + 1);
    text += Separator;
    text += Utf8Cut(name, maxBytes > others ? maxBytes - others : 0);
    if (!action.empty())
        text += Separator + action;
    return text;
}

void SplitCommandMessage(const AnsiString& message, TStrings& fields)
{
    // The text ends at the first NUL; c_str() ends a message without one.
    const std::string_view text(message.c_str());
    if (text.empty())
        return;
    size_t start = 0;
    for (size_t separator; (separator = text.find(Separator, start)) != std::string_view::npos; start = separator + 1)
        fields.Add(AnsiString(text.substr(start, separator - start)));
    fields.Add(AnsiString(text.substr(start)));
}

int RebootTimeFromText(const AnsiString& field)
{
    return StrToIntDef(field, 0);
}

std::optional<int> PercentFromText(const AnsiString& field)
{
    const size_t first = field.find_first_not_of(" \t");
    const size_t last = field.find_last_not_of(" \t");
    if (first == AnsiString::npos)
        return std::nullopt;
    std::string_view text(field.data() + first, last - first + 1);
    const bool negative = text.front() == '-';
    if (text.front() == '-' || text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    // Any number of digits: beyond three the value is above 100 anyway.
    const size_t significant = std::min(text.find_first_not_of('0'), text.size());
    const int value = text.size() - significant > 3 ? 1000 : std::stoi(std::string(text));
    return negative ? 0 : std::min(value, 100);
}

namespace {

TPackageAction DecodeAction(const TStrings& fields)
{
    if (fields.Count() < 3)
        return TPackageAction::Install;
    const AnsiString action = fields.Get(2);
    if (action == "install")
        return TPackageAction::Install;
    if (action == "upgrade")
        return TPackageAction::Upgrade;
    if (action == "remove")
        return TPackageAction::Remove;
    return TPackageAction::Other;
}

} // namespace

TCommand DecodeMessage(const AnsiString& message)
{
    TStringList fields;
    SplitCommandMessage(TextToUtf8(message.c_str()), fields);
    return DecodeCommand(fields);
}

TCommand DecodeCommand(const TStrings& fields)
{
    TCommand command;
    if (fields.Count() == 0)
        return command;
    const AnsiString word = fields.Get(0);
    if (word == "Terminate") {
        command.Kind = TCommandKind::Terminate;
    } else if (word == "FinishInstallation") {
        command.Kind = TCommandKind::FinishInstallation;
    } else if (word == "Reboot") {
        command.Kind = TCommandKind::Reboot;
        command.HasTime = fields.Count() >= 2;
        if (command.HasTime)
            command.Time = RebootTimeFromText(fields.Get(1));
    } else if (word == "ProcessPackage") {
        command.PackageName = fields.Get(1);
        command.Action = DecodeAction(fields);
        command.Kind = TCommandKind::ProcessPackage;
    } else if (word == "Progress") {
        // No field or an empty one: the bar cycles again; a field that is no
        // number changes nothing.
        const bool cycling = fields.Count() < 2 || fields.Get(1).empty();
        command.Percent = cycling ? std::nullopt : PercentFromText(fields.Get(1));
        command.Kind = cycling || command.Percent ? TCommandKind::Progress : TCommandKind::Ignored;
    }
    return command;
}
