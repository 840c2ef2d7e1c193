#include "ConstKx.h"

namespace NUtilsKx {

AnsiString BuiltInResString(TResourceString message);

AnsiString LoadResString(TResourceString message)
{
    return BuiltInResString(message);
}

} // namespace NUtilsKx
