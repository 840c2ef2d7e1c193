#pragma once
// Windows internals of the utility library that tests reach into.
#include <windows.h>

#include <richedit.h>

namespace NUtilsKx {

// The system call that reads and writes the minimise and restore animation
// (SystemParametersInfoA). Tests put a stand-in here: the platform's own
// setting cannot be relied on everywhere (some report it always off and
// ignore writes), and a test must not change it for the user.
using TSystemParametersInfo = BOOL(WINAPI*)(UINT action, UINT size, PVOID parameter, UINT flags);
extern TSystemParametersInfo SystemParametersInfoCall;

// The rich-edit stream callbacks of CopyRichText; the cookie is a TStream*.
// They move the bytes, set *done to the count moved and return 0, or, when
// the stream raises, return 1 with *done at 0.
DWORD CALLBACK RichTextStreamOut(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);
DWORD CALLBACK RichTextStreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);

} // namespace NUtilsKx
