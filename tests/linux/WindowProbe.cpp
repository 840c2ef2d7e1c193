// The message window of a process as a screen reader of the user running
// this probe sees it, for tests whose window runs as another user than the
// test: the caption, the upper and the lower line, one a line. Exit code 1
// when the process shows no such window, 2 without an accessibility bus.
#include <cstdio>
#include <cstdlib>

#include "AtSpi.h"

int main(int argc, char** argv)
{
    if (argc != 2 || !StartAtSpi())
        return 2;
    const TWindowView view = ReadWindow(static_cast<pid_t>(std::atoi(argv[1])));
    if (!view.Found)
        return 1;
    std::printf("%s\n%s\n%s\n", view.Caption.c_str(), view.Upper.c_str(), view.Lower.c_str());
    return 0;
}
