#pragma once
// Lines for an administrator who looks into why a run did what it did: each
// goes to standard error ("deployNotice: " in front) and to the system's log
// (the Application event log on Windows; syslog on Linux, which the journal
// collects where there is one). Only the decisions of deployments that run as
// SYSTEM or root are written so; nothing else of the program is logged.
#include "AnsiString.h"

enum class TDiagnosticKind { Information, Warning, Error };

// One line, without a line end.
void WriteDiagnostic(const AnsiString& line, TDiagnosticKind kind = TDiagnosticKind::Information);
