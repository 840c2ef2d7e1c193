// Copies of global memory blocks.
#include <windows.h>

#include <cstring>

#include "Handle.h"
#include "UtilsKx.h"

namespace NUtilsKx {

void* CopyGlobalMem(unsigned int flags, void* source)
{
    if (source == nullptr)
        return nullptr;
    const SIZE_T size = GlobalSize(source);
    TGlobalMemory copy(GlobalAlloc(flags, size));
    if (!copy.Valid())
        return nullptr;
    {
        // Both locks end with this scope, before the copy is handed out.
        const TGlobalLock from(source);
        const TGlobalLock to(copy.Get());
        if (from.Bytes() == nullptr || to.Bytes() == nullptr)
            return nullptr;
        // A locked block holds GlobalSize bytes, so the copy cannot fault
        // unless another thread frees a block meanwhile. Such a fault is a
        // structured exception that this compiler cannot catch: it ends the
        // process rather than giving null.
        std::memcpy(to.Bytes(), from.Bytes(), size);
    }
    return copy.Release();
}

} // namespace NUtilsKx
