#include "ConstKx.h"
#include "UtilsKxInternal.h"

namespace NUtilsKx {

AnsiString LoadResString(TResourceString message)
{
    return BuiltInResString(message);
}

} // namespace NUtilsKx
