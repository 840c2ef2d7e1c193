#include <windows.h>

#include "EntryRoutine.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return RunEntryRoutine();
}
