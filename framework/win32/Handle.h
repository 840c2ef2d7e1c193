#pragma once
// Move-only owners of the system's handles: one template over the close
// function and the invalid value, one alias per kind. A handle goes into its
// owner the moment a call returns it (Put() lets the call write it there), so
// that nothing has to remember to close it; the close functions are called
// here and nowhere else.
#include <windows.h>

#include <userenv.h>
#include <wtsapi32.h>

#include <utility>

template <typename T, void (*Close)(T), T (*Invalid)()>
class TUniqueHandle {
public:
    TUniqueHandle() = default;
    explicit TUniqueHandle(T handle) : FHandle(handle) {}
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(other.Release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }
    ~TUniqueHandle() { Reset(); }

    T Get() const { return FHandle; }
    bool Valid() const { return FHandle != Invalid() && FHandle != T{}; }
    T Release() { return std::exchange(FHandle, Invalid()); }
    void Reset(T handle = Invalid())
    {
        if (Valid())
            Close(FHandle);
        FHandle = handle;
    }
    // Closes what it holds and gives the place for a call to write a new
    // handle into.
    T* Put()
    {
        Reset();
        return &FHandle;
    }

private:
    T FHandle = Invalid();
};

namespace HandleKinds {

template <typename T>
T Null()
{
    return nullptr;
}
inline HANDLE InvalidHandleValue()
{
    return INVALID_HANDLE_VALUE;
}

inline void CloseKernelObject(HANDLE handle)
{
    CloseHandle(handle);
}
inline void CloseKey(HKEY key)
{
    RegCloseKey(key);
}
inline void DeleteFont(HFONT font)
{
    DeleteObject(font);
}
inline void Unlock(HGLOBAL block)
{
    GlobalUnlock(block);
}
inline void Destroy(HWND window)
{
    DestroyWindow(window);
}
inline void DestroyMenuOf(HMENU menu)
{
    DestroyMenu(menu);
}
inline void Free(HGLOBAL block)
{
    GlobalFree(block);
}
template <typename T>
void FreeLocal(T memory)
{
    LocalFree(memory);
}
template <typename T>
void FreeWts(T memory)
{
    WTSFreeMemory(memory);
}
inline void DestroyEnvironment(void* block)
{
    DestroyEnvironmentBlock(block);
}
inline void DeregisterSource(HANDLE log)
{
    DeregisterEventSource(log);
}
inline void CloseStation(HWINSTA station)
{
    CloseWindowStation(station);
}
inline void CloseDesktopOf(HDESK desktop)
{
    CloseDesktop(desktop);
}

} // namespace HandleKinds

// Files, mailslots, snapshots: their creators fail with INVALID_HANDLE_VALUE.
using TFileHandle = TUniqueHandle<HANDLE, HandleKinds::CloseKernelObject, HandleKinds::InvalidHandleValue>;
// Processes, threads, tokens, events: their creators fail with null.
using TKernelHandle = TUniqueHandle<HANDLE, HandleKinds::CloseKernelObject, HandleKinds::Null<HANDLE>>;
using TRegistryKey = TUniqueHandle<HKEY, HandleKinds::CloseKey, HandleKinds::Null<HKEY>>;
using TFontHandle = TUniqueHandle<HFONT, HandleKinds::DeleteFont, HandleKinds::Null<HFONT>>;
// A window that a helper creates for its own use. A control's window belongs
// to the control, which destroys it.
using TWindowHandle = TUniqueHandle<HWND, HandleKinds::Destroy, HandleKinds::Null<HWND>>;
using TMenuHandle = TUniqueHandle<HMENU, HandleKinds::DestroyMenuOf, HandleKinds::Null<HMENU>>;
using TGlobalMemory = TUniqueHandle<HGLOBAL, HandleKinds::Free, HandleKinds::Null<HGLOBAL>>;
// What the system allocates for its caller with LocalAlloc: security
// descriptors and SID texts that it converts.
template <typename T>
using TLocalMemory = TUniqueHandle<T, HandleKinds::FreeLocal<T>, HandleKinds::Null<T>>;
// Session lists and session details of the terminal services.
template <typename T>
using TWtsMemory = TUniqueHandle<T, HandleKinds::FreeWts<T>, HandleKinds::Null<T>>;
// A source's handle on the event log.
using TEventSource = TUniqueHandle<HANDLE, HandleKinds::DeregisterSource, HandleKinds::Null<HANDLE>>;
using TWindowStation = TUniqueHandle<HWINSTA, HandleKinds::CloseStation, HandleKinds::Null<HWINSTA>>;
using TDesktop = TUniqueHandle<HDESK, HandleKinds::CloseDesktopOf, HandleKinds::Null<HDESK>>;
// A user's environment block, as CreateEnvironmentBlock builds it.
using TEnvironmentBlock = TUniqueHandle<void*, HandleKinds::DestroyEnvironment, HandleKinds::Null<void*>>;

// A lock on a global memory block: its bytes, while the lock lives (null when
// the block cannot be locked).
class TGlobalLock {
public:
    explicit TGlobalLock(HGLOBAL block) : FBytes(GlobalLock(block))
    {
        if (FBytes != nullptr)
            FBlock.Reset(block);
    }
    void* Bytes() const { return FBytes; }

private:
    TUniqueHandle<HGLOBAL, HandleKinds::Unlock, HandleKinds::Null<HGLOBAL>> FBlock;
    void* FBytes;
};

// A window's device context (the screen's for null), released on every way
// out, with the font that was selected into it put back.
class TWindowDC {
public:
    explicit TWindowDC(HWND window) : FWindow(window), FDC(GetDC(window)) {}
    ~TWindowDC()
    {
        if (FFont != nullptr)
            SelectObject(FDC, FFont);
        if (FDC != nullptr)
            ReleaseDC(FWindow, FDC);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;

    HDC Get() const { return FDC; }
    void SelectFont(HFONT font)
    {
        const auto previous = static_cast<HFONT>(SelectObject(FDC, font));
        if (FFont == nullptr)
            FFont = previous;
    }

private:
    HWND FWindow;
    HDC FDC;
    HFONT FFont = nullptr;
};
