#include <cstring>

#include "SysUtils.h"

AnsiString SysErrorMessage(unsigned long errorCode)
{
    return std::strerror(static_cast<int>(errorCode));
}
