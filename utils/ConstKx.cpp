#include "ConstKx.h"
#include "UtilsKxInternal.h"

namespace NUtilsKx {

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
