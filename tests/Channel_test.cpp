// The command channel, the same cases on every platform: a mailslot on
// Windows, an abstract datagram socket on Linux. Each platform's own cases
// stand beside these.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "ChannelProbe.h"
#include "Command.h"
#include "Channel.h"
#include "Expect.h"
#include "SysUtils.h"
#include "TestProcess.h"

namespace {

using namespace std::chrono_literals;

TEST(Channel, OnlyOneReaderPerNameUntilItIsClosed)
{
    const AnsiString name = UniqueChannelName();
    {
        TChannelReader first(name);
        EXPECT_THROW_MSG(TChannelReader second(name), Exception, "Unable to create Mailslot");
        // The first reader is not disturbed.
        WriteMailslot(name, "Terminate");
        AnsiString message;
        ASSERT_TRUE(first.ReadMessage(message));
        EXPECT_EQ(message, WithNul("Terminate"));
    }
    EXPECT_NO_THROW(TChannelReader again(name));
}

TEST(Channel, WriterWithoutReaderDropsAndLaterReadersSeeNothing)
{
    const AnsiString name = UniqueChannelName();
    EXPECT_NO_THROW(WriteMailslot(name, "Terminate"));
    TChannelReader reader(name);
    AnsiString message;
    EXPECT_FALSE(reader.ReadMessage(message));
}

TEST(Channel, MessagesArriveWholeInOrderOnePerReadWithTheirNul)
{
    const AnsiString name = UniqueChannelName();
    TChannelReader reader(name);
    AnsiString message;
    EXPECT_FALSE(reader.ReadMessage(message));
    WriteMailslot(name, "Reboot|60");
    WriteMailslot(name, "");
    WriteMailslot(name, "ProcessPackage|B\xFCro \x80|install");
    ASSERT_TRUE(reader.ReadMessage(message));
    EXPECT_EQ(message, WithNul("Reboot|60"));
    ASSERT_TRUE(reader.ReadMessage(message));
    EXPECT_EQ(message, AnsiString(1, '\0'));
    ASSERT_TRUE(reader.ReadMessage(message));
    EXPECT_EQ(message, WithNul("ProcessPackage|B\xFCro \x80|install")) << "code page 1252 bytes pass unchanged";
    EXPECT_FALSE(reader.ReadMessage(message));
}

// A zero-byte message is taken out (on Wine the read reports a failure, on
// Windows and Linux an empty message) and never blocks the messages behind
// it; a message without a NUL is read exactly, never past its end.
TEST(Channel, ZeroByteNulOnlyAndUnterminatedMessagesNeverBlockTheOnesBehind)
{
    const AnsiString name = UniqueChannelName();
    TChannelReader reader(name);
    ASSERT_TRUE(WriteRaw(name, ""));
    ASSERT_TRUE(WriteRaw(name, AnsiString("\0", 1)));
    ASSERT_TRUE(WriteRaw(name, "Terminate"));
    std::vector<AnsiString> read;
    for (int tick = 0; tick < 3; ++tick) {
        AnsiString message;
        if (reader.ReadMessage(message))
            read.push_back(message);
    }
    ASSERT_FALSE(read.empty());
    EXPECT_EQ(read.back(), "Terminate");
    EXPECT_NE(std::find(read.begin(), read.end(), AnsiString("\0", 1)), read.end());
    AnsiString message;
    EXPECT_FALSE(reader.ReadMessage(message));
    EXPECT_EQ(DecodeMessage("").Kind, TCommandKind::Ignored);
}

TEST(Channel, LargeMessagesAndFloodsOfSeparatorsArriveWhole)
{
    const AnsiString name = UniqueChannelName();
    TChannelReader reader(name);
    // Wine peeks no further than 64 KiB into a message.
    const AnsiString large(64 * 1024 - 1, 'L');
    const AnsiString separators(60000, '|');
    WriteMailslot(name, large);
    WriteMailslot(name, separators);
    AnsiString message;
    ASSERT_TRUE(reader.ReadMessage(message));
    EXPECT_EQ(message, WithNul(large));
    ASSERT_TRUE(reader.ReadMessage(message));
    TStringList fields;
    SplitCommandMessage(message, fields);
    EXPECT_EQ(fields.Count(), 60001);
    EXPECT_EQ(DecodeMessage(message).Kind, TCommandKind::Ignored);
}

TEST(Channel, ConcurrentWritersAllGetThroughToAReaderThatKeepsReading)
{
    const AnsiString name = UniqueChannelName();
    TChannelReader reader(name);
    const int writers = 40;
    std::vector<std::thread> threads;
    for (int i = 0; i < writers; ++i)
        threads.emplace_back([&name, i] {
            for (int n = 0; n < 5; ++n)
                WriteMailslot(name, Format("ProcessPackage|p%d_%d|install", i, n));
        });
    std::vector<AnsiString> messages;
    WaitUntil([&] {
        AnsiString message;
        while (reader.ReadMessage(message))
            messages.push_back(message);
        return messages.size() >= static_cast<size_t>(writers * 5);
    }, 60s);
    for (std::thread& thread : threads)
        thread.join();
    ASSERT_EQ(messages.size(), static_cast<size_t>(writers * 5));
    std::sort(messages.begin(), messages.end());
    EXPECT_EQ(std::unique(messages.begin(), messages.end()), messages.end());
}

} // namespace
