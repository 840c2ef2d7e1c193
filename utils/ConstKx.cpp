#include "ConstKx.h"

namespace NUtilsKx {

// The compiled-in texts, shared by every platform.
AnsiString BuiltInResString(TResourceString message)
{
    switch (message) {
#define DN_RESOURCE_STRING(name, number, text)                                                                         \
    case name:                                                                                                         \
        return text;
#include "ConstKx.inc"
#undef DN_RESOURCE_STRING
    }
    return AnsiString();
}

} // namespace NUtilsKx
