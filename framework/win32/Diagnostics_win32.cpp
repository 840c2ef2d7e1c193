#include <windows.h>

#include "Diagnostics.h"

namespace {

// An event source that nobody registered is accepted: the viewer then shows
// the line with a remark that no description was found.
const char EventSource[] = "deployNotice";

WORD EventType(TDiagnosticKind kind)
{
    switch (kind) {
    case TDiagnosticKind::Warning:
        return EVENTLOG_WARNING_TYPE;
    case TDiagnosticKind::Error:
        return EVENTLOG_ERROR_TYPE;
    case TDiagnosticKind::Information:
        break;
    }
    return EVENTLOG_INFORMATION_TYPE;
}

} // namespace

void WriteDiagnostic(const AnsiString& line, TDiagnosticKind kind)
{
    // A program of the GUI subsystem has a standard error only when its
    // starter gave it one (a redirection, a service's log).
    const HANDLE standardError = GetStdHandle(STD_ERROR_HANDLE);
    if (standardError != nullptr && standardError != INVALID_HANDLE_VALUE) {
        const AnsiString text = "deployNotice: " + line + "\r\n";
        DWORD written = 0;
        WriteFile(standardError, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    const HANDLE log = RegisterEventSourceA(nullptr, EventSource);
    if (log == nullptr)
        return;
    const char* strings[] = {line.c_str()};
    ReportEventA(log, EventType(kind), 0, 0, nullptr, 1, 0, strings, nullptr);
    DeregisterEventSource(log);
}
