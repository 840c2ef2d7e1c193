#include <windows.h>

#include "ChannelProbe.h"
#include "Handle.h"
#include "Channel_win32.h"

namespace {

TFileHandle OpenForWriting(const AnsiString& name)
{
    return TFileHandle(CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

bool WriteRaw(const AnsiString& name, const AnsiString& bytes)
{
    const TFileHandle slot = OpenForWriting(name);
    DWORD written = 0;
    return slot.Valid() && WriteFile(slot.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool ChannelExists(const AnsiString& name)
{
    return ChannelHeld(name);
}
