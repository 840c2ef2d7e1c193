#pragma once
// Move-only owners of Win32 handles, each with the invalid value of its kind.
#include <windows.h>

#include <utility>

template <HANDLE (*InvalidValue)()>
class TUniqueHandle {
public:
    TUniqueHandle() = default;
    explicit TUniqueHandle(HANDLE handle) : FHandle(handle) {}
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(other.Release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }
    ~TUniqueHandle() { Reset(); }

    HANDLE Get() const { return FHandle; }
    bool Valid() const { return FHandle != InvalidValue() && FHandle != nullptr; }
    HANDLE Release() { return std::exchange(FHandle, InvalidValue()); }
    void Reset(HANDLE handle = InvalidValue())
    {
        if (Valid())
            CloseHandle(FHandle);
        FHandle = handle;
    }

private:
    HANDLE FHandle = InvalidValue();
};

inline HANDLE InvalidFileHandle() { return INVALID_HANDLE_VALUE; }
inline HANDLE NullHandle() { return nullptr; }

// Files and mailslots: CreateFileA and CreateMailslotA fail with INVALID_HANDLE_VALUE.
using TFileHandle = TUniqueHandle<InvalidFileHandle>;
// Processes, threads, events: their creators fail with null.
using TKernelHandle = TUniqueHandle<NullHandle>;
