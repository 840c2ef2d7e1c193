#include <syslog.h>

#include <cstdio>

#include "Diagnostics.h"
#include "Utf8.h"

namespace {

int Priority(TDiagnosticKind kind)
{
    switch (kind) {
    case TDiagnosticKind::Warning:
        return LOG_WARNING;
    case TDiagnosticKind::Error:
        return LOG_ERR;
    case TDiagnosticKind::Information:
        break;
    }
    return LOG_INFO;
}

} // namespace

void WriteDiagnostic(const AnsiString& line, TDiagnosticKind kind)
{
    const std::string text = TextToUtf8(line);
    std::fprintf(stderr, "deployNotice: %s\n", text.c_str());
    // Without a log daemon or journal the line is lost there, not here.
    openlog("deployNotice", LOG_PID, LOG_USER);
    syslog(Priority(kind), "%s", text.c_str());
    closelog();
}
