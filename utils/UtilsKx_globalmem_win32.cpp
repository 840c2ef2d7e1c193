// Copies of global memory blocks.
#include <windows.h>

#include <cstring>

#include "UtilsKx.h"

namespace NUtilsKx {

namespace {

// A lock on a global memory block, released on every way out.
class TGlobalLock {
public:
    explicit TGlobalLock(HGLOBAL block) : FBlock(block), FBytes(GlobalLock(block)) {}
    ~TGlobalLock()
    {
        if (FBytes != nullptr)
            GlobalUnlock(FBlock);
    }
    TGlobalLock(const TGlobalLock&) = delete;
    TGlobalLock& operator=(const TGlobalLock&) = delete;

    void* Bytes() const { return FBytes; }

private:
    HGLOBAL FBlock;
    void* FBytes;
};

} // namespace

void* CopyGlobalMem(unsigned int flags, void* source)
{
    if (source == nullptr)
        return nullptr;
    const SIZE_T size = GlobalSize(source);
    const HGLOBAL copy = GlobalAlloc(flags, size);
    if (copy == nullptr)
        return nullptr;
    {
        // Both locks end with this scope, on every way out of it.
        const TGlobalLock from(source);
        const TGlobalLock to(copy);
        if (from.Bytes() != nullptr && to.Bytes() != nullptr) {
            // A locked block holds GlobalSize bytes, so the copy cannot fault
            // unless another thread frees a block meanwhile. Such a fault is
            // a structured exception that this compiler cannot catch: it ends
            // the process rather than giving null.
            std::memcpy(to.Bytes(), from.Bytes(), size);
            return copy;
        }
    }
    GlobalFree(copy);
    return nullptr;
}

} // namespace NUtilsKx
