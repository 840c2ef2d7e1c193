// Window helpers on GTK. A top-level window keeps off the taskbar (and the
// pager) through the hints the desktop reads, so the window need not be
// hidden and shown again as on Windows.
#include "UtilsKx.h"
#include "WindowHints.h"

namespace NUtilsKx {

void RemoveWindowTaskbar(void* window)
{
    if (window != nullptr)
        SkipTaskbarAndPager(window);
}

} // namespace NUtilsKx
