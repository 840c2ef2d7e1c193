#include "HandOverSystem_win32.h"

THandOverSystem& HandOverSystem()
{
    static THandOverSystem system;
    return system;
}
