#pragma once
// Failures of the system's calls, raised with the system's own code.
#include <windows.h>

#include <utility>

#include "SysUtils.h"

// Raises TException with the message that `message()` makes and the thread's
// last error, read before the message is made: in
// `throw Exception(Format(...), GetLastError())` the order in which the two
// are evaluated is unspecified, and making the message may change the error.
template <typename TException = Exception, typename TMessage>
[[noreturn]] void RaiseLastError(TMessage&& message)
{
    const DWORD error = GetLastError();
    throw TException(AnsiString(std::forward<TMessage>(message)()), error);
}

// The same for a fixed message (a formatted one does not convert to a
// pointer, so it cannot come here by mistake).
template <typename TException = Exception>
[[noreturn]] void RaiseLastError(const char* message)
{
    const DWORD error = GetLastError();
    throw TException(message, error);
}
