#pragma once
// The windows of a process as a screen reader sees them: read through the
// accessibility bus (AT-SPI), fresh at every call.
#include <sys/types.h>

#include <string>

struct TScreenRect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

// The message window: its caption, the two labels from top to bottom, and
// the bar's position (0 to 100). Texts are UTF-8.
struct TWindowView {
    bool Found = false;
    std::string Caption;
    std::string Upper;
    std::string Lower;
    // The upper line is read from the right and aligned there.
    bool UpperFromTheRight = false;
    int Bar = -1;
    TScreenRect Frame;
    TScreenRect Client;
};

// A message box on screen: its caption, its text and whether it shows an icon.
struct TBoxView {
    bool Found = false;
    std::string Caption;
    std::string Text;
    bool HasIcon = false;
    int Count = 0;
};

// Connects to the accessibility bus; false when there is none.
bool StartAtSpi();
TWindowView ReadWindow(pid_t process);
TBoxView ReadBox(pid_t process);
// Presses the OK button of the process's message box; false when there is none.
bool PressOk(pid_t process);
