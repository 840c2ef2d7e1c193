#pragma once
// ConstKx: the utility library's message table. Each message is a string
// resource of the executable, loaded when it is raised.
#include "AnsiString.h"

namespace NUtilsKx {

enum TResourceString : unsigned {
#define DN_RESOURCE_STRING(name, number, text) name = number,
#include "ConstKx.inc"
#undef DN_RESOURCE_STRING
};

// The message's text: from the executable's string table, or from the
// compiled-in table where the platform has none (or the program that links
// the library did not include ConstKx.rc in its resources).
AnsiString LoadResString(TResourceString message);

} // namespace NUtilsKx
