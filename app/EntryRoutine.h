#pragma once
// The program's entry routine, shared by every platform's main function.
// Returns the exit code, 0 on every path it completes.
int RunEntryRoutine();
