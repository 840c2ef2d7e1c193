#include "StartUp.h"

#include "SysUtils.h"

const char UsageText[] = "deployNotice {\n"
                         "-terminate |\n"
                         "-package <packagename> [{ install | upgrade | remove }] |\n"
                         "-finish |\n"
                         "-reboot [time] |\n"
                         "-help }";

namespace {

struct TSwitchRow {
    const char* Name;
    TRunKind Kind;
};

const TSwitchRow SwitchTable[] = {
    {"terminate", TRunKind::Terminate},
    {"finish", TRunKind::FinishInstallation},
    {"reboot", TRunKind::Reboot},
    {"package", TRunKind::ProcessPackage},
    // After the command switches of old, so that every command line that
    // they had means what it meant.
    {"progress", TRunKind::Progress},
    {"?", TRunKind::Usage},
    {"help", TRunKind::Usage},
};

bool IsSwitchChar(char c)
{
    return c == '-' || c == '/';
}

} // namespace

bool FindSwitch(const TArgumentList& arguments, const AnsiString& name)
{
    for (const AnsiString& argument : arguments.Arguments)
        if (!argument.empty() && IsSwitchChar(argument[0]) && Utf8LowerCase(argument.substr(1)) == Utf8LowerCase(name))
            return true;
    return false;
}

TRunChoice ChooseRun(const TArgumentList& arguments)
{
    TRunChoice choice;
    for (const TSwitchRow& row : SwitchTable) {
        if (!FindSwitch(arguments, row.Name))
            continue;
        choice.Kind = row.Kind;
        // The values are positional: arguments 2 and 3 wherever the switch stands.
        if (row.Kind == TRunKind::Reboot)
            choice.Time = arguments[2];
        if (row.Kind == TRunKind::Progress)
            choice.Percent = arguments[2];
        if (row.Kind == TRunKind::ProcessPackage) {
            choice.PackageName = arguments[2];
            choice.Action = Utf8LowerCase(arguments[3]);
        }
        break;
    }
    return choice;
}
