#include "Streams.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "Consts.h"
#include "SysUtils.h"

long long TStream::Size()
{
    const long long position = Position();
    const long long size = Seek(0, soEnd);
    SetPosition(position);
    return size;
}

void TStream::ReadBuffer(void* buffer, int count)
{
    if (count > 0 && Read(buffer, count) != count)
        throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* buffer, int count)
{
    if (count > 0 && Write(buffer, count) != count)
        throw EWriteError(SWriteError);
}

int TMemoryStream::Read(void* buffer, int count)
{
    const long long size = Size();
    if (count <= 0 || FPosition < 0 || FPosition >= size)
        return 0;
    const int moved = static_cast<int>(std::min<long long>(count, size - FPosition));
    std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(moved));
    FPosition += moved;
    return moved;
}

int TMemoryStream::Write(const void* buffer, int count)
{
    if (count <= 0 || FPosition < 0 || FPosition > std::numeric_limits<long long>::max() - count)
        return 0;
    const long long end = FPosition + count;
    if (end > Size())
        FData.resize(static_cast<size_t>(end));
    std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
    FPosition = end;
    return count;
}

long long TMemoryStream::Seek(long long offset, TSeekOrigin origin)
{
    switch (origin) {
    case soBeginning:
        FPosition = offset;
        break;
    case soCurrent:
        FPosition += offset;
        break;
    case soEnd:
        FPosition = Size() + offset;
        break;
    }
    return FPosition;
}

void TMemoryStream::SetSize(long long size)
{
    FData.resize(static_cast<size_t>(std::max<long long>(size, 0)));
    FPosition = std::min(FPosition, Size());
}

void TMemoryStream::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}
