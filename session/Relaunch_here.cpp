#include "Relaunch.h"

bool HandOverWindowRun()
{
    return false;
}
