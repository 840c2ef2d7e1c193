// The yardstick for start-up figures: a GUI-subsystem program that does
// nothing, built with the program's own flags.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
