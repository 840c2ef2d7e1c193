#include <gtest/gtest.h>

#include <thread>

#include "Command.h"
#include "Mailslot.h"
#include "SysUtils.h"
#include "TestProcess.h"

namespace {

std::vector<AnsiString> ReadAll(TMailslotReader& reader)
{
    std::vector<AnsiString> messages;
    AnsiString message;
    while (reader.ReadMessage(message))
        messages.push_back(message);
    return messages;
}

// Writes raw bytes as one message, as a foreign writer might.
void WriteRaw(const AnsiString& name, const AnsiString& bytes)
{
    const TFileHandle slot(CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(slot.Valid());
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(slot.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

TEST(Mailslot, OnlyOneReaderPerNameUntilItIsClosed)
{
    const AnsiString name = UniqueMailslotName();
    {
        TMailslotReader first(name);
        try {
            TMailslotReader second(name);
            FAIL() << "second reader created";
        } catch (const Exception& error) {
            EXPECT_STREQ(error.what(), "Unable to create Mailslot");
        }
        // The first reader is not disturbed.
        WriteMailslot(name, "Terminate");
        AnsiString message;
        ASSERT_TRUE(first.ReadMessage(message));
        EXPECT_EQ(message, AnsiString("Terminate\0", 10));
    }
    EXPECT_NO_THROW(TMailslotReader again(name));
}

TEST(Mailslot, WriterWithoutReaderDropsSilently)
{
    const AnsiString name = UniqueMailslotName();
    EXPECT_NO_THROW(WriteMailslot(name, "Terminate"));
    TMailslotReader reader(name);
    AnsiString message;
    EXPECT_FALSE(reader.ReadMessage(message));
}

TEST(Mailslot, MessagesArriveWholeInOrderWithTheirNul)
{
    const AnsiString name = UniqueMailslotName();
    TMailslotReader reader(name);
    AnsiString message;
    EXPECT_FALSE(reader.ReadMessage(message));
    WriteMailslot(name, "Reboot|60");
    WriteMailslot(name, "");
    WriteMailslot(name, "ProcessPackage|Office Tools|install");
    const std::vector<AnsiString> expected = {AnsiString("Reboot|60\0", 10), AnsiString("\0", 1),
                                              AnsiString("ProcessPackage|Office Tools|install\0", 36)};
    EXPECT_EQ(ReadAll(reader), expected);
}

TEST(Mailslot, ZeroByteAndNulOnlyMessagesAreReadAndDropped)
{
    const AnsiString name = UniqueMailslotName();
    TMailslotReader reader(name);
    WriteRaw(name, "");
    WriteRaw(name, AnsiString("\0", 1));
    WriteRaw(name, "Terminate");
    // One read per message: a zero-byte message is taken out of the slot (on
    // Wine the read reports a failure, on Windows an empty message), and never
    // blocks the messages behind it.
    std::vector<AnsiString> read;
    for (int tick = 0; tick < 3; ++tick) {
        AnsiString message;
        if (reader.ReadMessage(message))
            read.push_back(message);
    }
    ASSERT_FALSE(read.empty());
    EXPECT_EQ(read.back(), "Terminate") << "a message without a NUL is read exactly, never past its end";
    EXPECT_NE(std::find(read.begin(), read.end(), AnsiString("\0", 1)), read.end());
    AnsiString message;
    EXPECT_FALSE(reader.ReadMessage(message));
}

TEST(Mailslot, LargeMessagesAndFloodsOfSeparatorsArriveWhole)
{
    const AnsiString name = UniqueMailslotName();
    TMailslotReader reader(name);
    // Wine peeks no further than 64 KiB into a message.
    const AnsiString large(64 * 1024 - 1, 'L');
    const AnsiString separators(60000, '|');
    WriteMailslot(name, large);
    WriteMailslot(name, separators);
    AnsiString message;
    ASSERT_TRUE(reader.ReadMessage(message));
    EXPECT_EQ(message, large + '\0');
    ASSERT_TRUE(reader.ReadMessage(message));
    TStringList fields;
    SplitCommandMessage(message, fields);
    EXPECT_EQ(fields.Count(), 60001);
    EXPECT_EQ(DecodeCommand(fields).Kind, TCommandKind::Ignored);
}

TEST(Mailslot, ConcurrentWritersAllGetThrough)
{
    const AnsiString name = UniqueMailslotName();
    TMailslotReader reader(name);
    const int writers = 40;
    std::vector<std::thread> threads;
    for (int i = 0; i < writers; ++i)
        threads.emplace_back([&name, i] {
            for (int n = 0; n < 5; ++n)
                WriteMailslot(name, Format("ProcessPackage|p%d_%d|install", i, n));
        });
    for (std::thread& thread : threads)
        thread.join();
    std::vector<AnsiString> messages = ReadAll(reader);
    ASSERT_EQ(messages.size(), static_cast<size_t>(writers * 5));
    std::sort(messages.begin(), messages.end());
    EXPECT_EQ(std::unique(messages.begin(), messages.end()), messages.end());
}

} // namespace
