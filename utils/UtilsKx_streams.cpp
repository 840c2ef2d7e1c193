// Big-endian integers in streams.
#include <cstring>

#include "UtilsKx.h"

namespace NUtilsKx {

namespace {

// Whether the byte at the lowest address of a value of type T holding 0xFF is
// that 0xFF, i.e. whether the host stores the least significant byte first.
template <typename T>
bool HostIsLittleEndian()
{
    const T probe = 0xFF;
    unsigned char lowest = 0;
    std::memcpy(&lowest, &probe, 1);
    return lowest == 0xFF;
}

} // namespace

void SwapBytes(unsigned short& value)
{
    value = static_cast<unsigned short>((value >> 8) | ((value & 0xFF) << 8));
}

void SwapBytes(unsigned int& value)
{
    value = (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

void CheckSwapBytes(unsigned short& value)
{
    if (HostIsLittleEndian<unsigned short>())
        SwapBytes(value);
}

void CheckSwapBytes(unsigned int& value)
{
    if (HostIsLittleEndian<unsigned int>())
        SwapBytes(value);
}

unsigned short ReadWordFromStream(TStream* stream)
{
    unsigned short value = 0;
    stream->ReadBuffer(&value, sizeof value);
    CheckSwapBytes(value);
    return value;
}

unsigned int ReadUIntFromStream(TStream* stream)
{
    unsigned int value = 0;
    stream->ReadBuffer(&value, sizeof value);
    CheckSwapBytes(value);
    return value;
}

void SaveWordToStream(unsigned short value, TStream* stream)
{
    CheckSwapBytes(value);
    stream->WriteBuffer(&value, sizeof value);
}

void SaveUIntToStream(unsigned int value, TStream* stream)
{
    CheckSwapBytes(value);
    stream->WriteBuffer(&value, sizeof value);
}

} // namespace NUtilsKx
