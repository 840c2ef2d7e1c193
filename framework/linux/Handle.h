#pragma once
// A move-only owner of a file descriptor (files, sockets, pipes): it goes into
// its owner the moment a call returns it, so that nothing has to remember to
// close it; close is called here and nowhere else.
#include <fcntl.h>
#include <unistd.h>

#include <utility>

class TFileDescriptor {
public:
    TFileDescriptor() = default;
    explicit TFileDescriptor(int descriptor) : FDescriptor(descriptor) {}
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    TFileDescriptor(TFileDescriptor&& other) noexcept : FDescriptor(other.Release()) {}
    TFileDescriptor& operator=(TFileDescriptor&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }
    ~TFileDescriptor() { Reset(); }

    int Get() const { return FDescriptor; }
    bool Valid() const { return FDescriptor >= 0; }
    int Release() { return std::exchange(FDescriptor, -1); }
    void Reset(int descriptor = -1)
    {
        if (Valid())
            close(FDescriptor);
        FDescriptor = descriptor;
    }

private:
    int FDescriptor = -1;
};

// Both ends of a new pipe, closed on exec; neither is valid when the system
// has no pipe to give.
struct TPipe {
    TFileDescriptor Read;
    TFileDescriptor Write;
};

inline TPipe NewPipe()
{
    int ends[2] = {-1, -1};
    if (pipe2(ends, O_CLOEXEC) != 0)
        return {};
    return {TFileDescriptor(ends[0]), TFileDescriptor(ends[1])};
}
