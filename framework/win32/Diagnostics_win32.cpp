#include <windows.h>

#include "Diagnostics.h"
#include "Handle.h"
#include "Station.h"
#include "WideText.h"

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
    WriteStandardError("deployNotice: " + line);
    const TEventSource log(RegisterEventSourceA(nullptr, EventSource));
    if (!log.Valid())
        return;
    const std::wstring text = WideOf(line);
    const wchar_t* strings[] = {text.c_str()};
    ReportEventW(log.Get(), EventType(kind), 0, 0, nullptr, 1, 0, strings, nullptr);
}
