#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Expect.h"
#include "Streams.h"
#include "SysUtils.h"
#include "UtilsKx.h"

namespace {

std::vector<unsigned char> Bytes(TMemoryStream& stream)
{
    const auto* data = reinterpret_cast<const unsigned char*>(stream.Memory());
    return std::vector<unsigned char>(data, data + stream.Size());
}

TEST(TMemoryStream, GrowsReadsAndSeeks)
{
    TMemoryStream stream;
    EXPECT_EQ(stream.Write("abcdef", 6), 6);
    EXPECT_EQ(stream.Position(), 6);
    EXPECT_EQ(stream.Seek(-4, soCurrent), 2);
    EXPECT_EQ(stream.Write("XY", 2), 2); // overwrites inside
    EXPECT_EQ(stream.Size(), 6);
    EXPECT_EQ(stream.Seek(2, soEnd), 8);
    EXPECT_EQ(stream.Write("!", 1), 1); // the gap is filled with zeros
    EXPECT_EQ(AnsiString(stream.Memory(), 9), AnsiString("abXYef\0\0!", 9));

    char buffer[16] = {};
    stream.SetPosition(7);
    EXPECT_EQ(stream.Read(buffer, 16), 2); // only what is left
    EXPECT_EQ(stream.Position(), 9);
    EXPECT_EQ(stream.Read(buffer, 1), 0);
    stream.SetPosition(20);
    EXPECT_EQ(stream.Read(buffer, 1), 0);
    EXPECT_EQ(stream.Read(buffer, -1), 0);

    stream.SetPosition(-1); // nothing happens at a negative position
    EXPECT_EQ(stream.Read(buffer, 1), 0);
    EXPECT_EQ(stream.Write("x", 1), 0);
    EXPECT_EQ(stream.Size(), 9);

    stream.SetSize(3);
    stream.SetPosition(0);
    EXPECT_EQ(stream.Read(buffer, 16), 3);
    EXPECT_EQ(AnsiString(buffer, 3), "abX");
    stream.SetPosition(10);
    stream.SetSize(5);
    EXPECT_EQ(stream.Position(), 5);
    stream.Clear();
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
}

// A stream that takes at most `Room` bytes.
class TFullStream : public TMemoryStream {
public:
    int Room = 0;
    int Write(const void* buffer, int count) override
    {
        const int taken = TMemoryStream::Write(buffer, count < Room ? count : Room);
        Room -= taken;
        return taken;
    }
};

TEST(TStream, ExactReadsAndWritesRaiseTheFrameworkErrors)
{
    TMemoryStream stream;
    stream.WriteBuffer("abc", 3);
    stream.SetPosition(1);
    char buffer[4] = {};
    EXPECT_THROW_MSG(stream.ReadBuffer(buffer, 3), EReadError, "Stream-Read-Fehler");
    EXPECT_EQ(stream.Position(), 3); // where the read left it
    stream.ReadBuffer(buffer, 0);

    TFullStream full;
    full.Room = 3;
    EXPECT_THROW_MSG(full.WriteBuffer("abcd", 4), EWriteError, "Stream-Write-Fehler");
}

TEST(SwapBytes, ReversesTheBytes)
{
    unsigned short word = 0x00FF;
    NUtilsKx::SwapBytes(word);
    EXPECT_EQ(word, 0xFF00);
    unsigned int value = 0x000000FF;
    NUtilsKx::SwapBytes(value);
    EXPECT_EQ(value, 0xFF000000u);
    value = 0x12345678;
    NUtilsKx::SwapBytes(value);
    EXPECT_EQ(value, 0x78563412u);
    NUtilsKx::SwapBytes(value);
    EXPECT_EQ(value, 0x12345678u);
}

// The bytes in the stream, and the converted value's bytes in memory, are the
// same on every host: a conversion that gets the host's order wrong fails on
// either kind.
TEST(StreamIntegers, BigEndianOnEveryHost)
{
    TMemoryStream stream;
    NUtilsKx::SaveWordToStream(0x1234, &stream);
    NUtilsKx::SaveUIntToStream(0x12345678, &stream);
    NUtilsKx::SaveWordToStream(0xFFFE, &stream);
    NUtilsKx::SaveUIntToStream(0xFEDCBA98, &stream);
    EXPECT_EQ(Bytes(stream), (std::vector<unsigned char>{0x12, 0x34, 0x12, 0x34, 0x56, 0x78, 0xFF, 0xFE, 0xFE, 0xDC,
                                                          0xBA, 0x98}));
    stream.SetPosition(0);
    EXPECT_EQ(NUtilsKx::ReadWordFromStream(&stream), 0x1234);
    EXPECT_EQ(NUtilsKx::ReadUIntFromStream(&stream), 0x12345678u);
    EXPECT_EQ(stream.Position(), 6);
    EXPECT_EQ(NUtilsKx::ReadWordFromStream(&stream), 0xFFFE);
    EXPECT_EQ(NUtilsKx::ReadUIntFromStream(&stream), 0xFEDCBA98u);

    unsigned short word = 0x0102;
    NUtilsKx::CheckSwapBytes(word);
    EXPECT_EQ(std::memcmp(&word, "\x01\x02", 2), 0);
    NUtilsKx::CheckSwapBytes(word);
    EXPECT_EQ(word, 0x0102);
    unsigned int value = 0x01020304;
    NUtilsKx::CheckSwapBytes(value);
    EXPECT_EQ(std::memcmp(&value, "\x01\x02\x03\x04", 4), 0);
}

TEST(StreamIntegers, TooFewBytesOrTooLittleRoomRaise)
{
    TMemoryStream stream;
    stream.WriteBuffer("\x12", 1);
    stream.SetPosition(0);
    EXPECT_THROW(NUtilsKx::ReadWordFromStream(&stream), EReadError);
    stream.WriteBuffer("\x34\x56", 2);
    stream.SetPosition(0);
    EXPECT_THROW(NUtilsKx::ReadUIntFromStream(&stream), EReadError);

    TFullStream full;
    full.Room = 3;
    EXPECT_THROW(NUtilsKx::SaveUIntToStream(1, &full), EWriteError);
    full.Room = 1;
    EXPECT_THROW(NUtilsKx::SaveWordToStream(1, &full), EWriteError);
}

} // namespace
