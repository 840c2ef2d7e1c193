#pragma once
// Byte streams of the framework layer.
#include <vector>

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// A sequence of bytes with a current position.
class TStream {
public:
    virtual ~TStream() = default;

    // Read and Write move up to `count` bytes at the position, advance it and
    // return how many bytes they moved (0 for a count below 1).
    virtual int Read(void* buffer, int count) = 0;
    virtual int Write(const void* buffer, int count) = 0;
    // Moves the position relative to `origin` and returns the new position.
    virtual long long Seek(long long offset, TSeekOrigin origin) = 0;
    virtual long long Size();
    virtual void SetSize(long long size) = 0;

    long long Position() { return Seek(0, soCurrent); }
    void SetPosition(long long position) { Seek(position, soBeginning); }

    // Exactly `count` bytes or EReadError "Stream-Read-Fehler" (the position
    // then stays where Read left it).
    void ReadBuffer(void* buffer, int count);
    // Exactly `count` bytes or EWriteError "Stream-Write-Fehler".
    void WriteBuffer(const void* buffer, int count);
};

// A stream in memory that grows as it is written. The position may be set
// beyond the end: reading there gives nothing, writing fills the gap with
// zeros. At a negative position nothing is read or written.
class TMemoryStream : public TStream {
public:
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    long long Seek(long long offset, TSeekOrigin origin) override;
    long long Size() override { return static_cast<long long>(FData.size()); }
    // Keeps the first `size` bytes (new ones are zeros); a position beyond
    // the new end is moved to it.
    void SetSize(long long size) override;

    // The stream's bytes; valid until the next change of its size.
    char* Memory() { return FData.data(); }
    void Clear();

private:
    std::vector<char> FData;
    long long FPosition = 0;
};
