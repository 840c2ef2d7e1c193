// The command channel on Linux, natively, beyond what every platform's channel
// does: names, the kernel's limits and queue, and the senders' users.
#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <future>
#include <thread>

#include "ChannelProbe.h"
#include "Command.h"
#include "Handle.h"
#include "Channel.h"
#include "Channel_linux.h"
#include "SysUtils.h"
#include "TestProcess.h"

namespace {

using namespace std::chrono_literals;

// Runs `work` in a child process as `user`; returns its exit code.
int RunAs(uid_t user, const std::function<int()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
        const auto group = static_cast<gid_t>(user);
        if (setgroups(0, nullptr) != 0 || setresgid(group, group, group) != 0 ||
            setresuid(user, user, user) != 0)
            _exit(126);
        _exit(work());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A reader that is killed leaves nothing behind that could block the next
// one: the name lives in no file.
TEST(Channel, AKilledReadersNameIsFreeAtOnce)
{
    const AnsiString name = UniqueChannelName();
    TPipe ready = NewPipe();
    ASSERT_TRUE(ready.Read.Valid());
    const pid_t holder = fork();
    if (holder == 0) {
        TChannelReader reader(name);
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = write(ready.Write.Get(), &byte, 1);
        pause();
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready.Read.Get(), &byte, 1), 1);
    EXPECT_THROW(TChannelReader busy(name), Exception);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_NO_THROW(TChannelReader after(name));
}

TEST(Channel, NamesTheAddressCannotHoldNeitherReadNorWrite)
{
    const AnsiString tooLong(200, 'n');
    EXPECT_THROW(TChannelReader reader(tooLong), Exception);
    EXPECT_THROW(TChannelReader reader(""), Exception);
    EXPECT_NO_THROW(WriteMailslot(tooLong, "Terminate"));
}

TEST(Channel, ZeroByteAndUnterminatedMessagesAreReadExactly)
{
    const AnsiString name = UniqueChannelName();
    TChannelReader reader(name);
    ASSERT_TRUE(WriteRaw(name, ""));
    ASSERT_TRUE(WriteRaw(name, "Terminate"));
    AnsiString message = "old";
    ASSERT_TRUE(reader.ReadMessage(message)) << "a zero-byte message is read, not left to block the queue";
    EXPECT_EQ(message, "");
    ASSERT_TRUE(reader.ReadMessage(message));
    EXPECT_EQ(message, "Terminate") << "never read past the message's end";
    TStringList fields;
    SplitCommandMessage("", fields);
    EXPECT_EQ(DecodeCommand(fields).Kind, TCommandKind::Ignored);
}

TEST(Channel, MessagesUpToTheSocketsLimitArriveWholeAndLargerOnesAreDropped)
{
    const AnsiString name = UniqueChannelName();
    TChannelReader reader(name);
    // The largest datagram this machine takes, found by halving.
    size_t fits = 64 * 1024;
    size_t fails = 64 * 1024 * 1024;
    while (fails - fits > 1024) {
        const size_t middle = (fits + fails) / 2;
        if (WriteRaw(name, AnsiString(middle, 'x'))) {
            fits = middle;
            AnsiString message;
            ASSERT_TRUE(reader.ReadMessage(message));
            ASSERT_EQ(message.size(), middle);
        } else {
            fails = middle;
        }
    }
    const AnsiString largest(fits - 1, 'L');
    WriteMailslot(name, largest);
    WriteMailslot(name, AnsiString(fails, 'T'));
    WriteMailslot(name, "FinishInstallation");
    AnsiString message;
    ASSERT_TRUE(reader.ReadMessage(message));
    EXPECT_EQ(message.size(), fits);
    EXPECT_EQ(message, WithNul(largest));
    ASSERT_TRUE(reader.ReadMessage(message)) << "the message too large was dropped by its writer";
    EXPECT_EQ(message, WithNul("FinishInstallation"));

    const AnsiString separators(60000, '|');
    WriteMailslot(name, separators);
    ASSERT_TRUE(reader.ReadMessage(message));
    TStringList fields;
    SplitCommandMessage(message, fields);
    EXPECT_EQ(fields.Count(), 60001);
}

TEST(Channel, WriterFacingAFullQueueGivesUpInsteadOfHanging)
{
    const AnsiString name = UniqueChannelName();
    TChannelReader reader(name);
    int queued = 0;
    while (WriteRaw(name, Format("ProcessPackage|p%d|install", queued) + '\0'))
        ++queued;
    ASSERT_GT(queued, 0);
    // Nobody reads: the writer waits a bounded time, then drops its command.
    auto writer = std::async(std::launch::async, [&name] { WriteMailslot(name, "Terminate"); });
    ASSERT_EQ(writer.wait_for(30s), std::future_status::ready) << "the writer hangs";
    const std::vector<AnsiString> messages = ReadAll(reader);
    ASSERT_EQ(messages.size(), static_cast<size_t>(queued));
    EXPECT_EQ(messages.front(), WithNul("ProcessPackage|p0|install"));
    EXPECT_EQ(messages.back(), WithNul(Format("ProcessPackage|p%d|install", queued - 1)));

    // With a reader that keeps reading, a waiting writer gets through.
    for (int i = 0; i < queued; ++i)
        ASSERT_TRUE(WriteRaw(name, "x"));
    auto late = std::async(std::launch::async, [&name] { WriteMailslot(name, "Terminate"); });
    AnsiString message;
    ASSERT_TRUE(reader.ReadMessage(message));
    ASSERT_EQ(late.wait_for(30s), std::future_status::ready);
    const std::vector<AnsiString> rest = ReadAll(reader);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.back(), WithNul("Terminate"));
}

// The kernel tells the reader who sent each message; only the reader's own
// user and root get through, everything else is taken out and dropped.
TEST(Channel, OnlyTheReadersOwnUserAndRootGetThrough)
{
    if (getuid() != 0)
        GTEST_SKIP() << "sending as other users needs root";
    const AnsiString name = UniqueChannelName();
    {
        TChannelReader reader(name);
        EXPECT_EQ(RunAs(65534, [&name] {
            WriteMailslot(name, "Terminate");
            return 0;
        }), 0);
        WriteMailslot(name, "FinishInstallation");
        EXPECT_EQ(ReadAll(reader), std::vector<AnsiString>{WithNul("FinishInstallation")})
            << "another user's message was taken";
    }

    // A reader of an ordinary user takes its own user's and root's messages.
    TPipe results = NewPipe();
    TPipe ready = NewPipe();
    ASSERT_TRUE(results.Read.Valid() && ready.Read.Valid());
    const pid_t readerProcess = fork();
    if (readerProcess == 0) {
        if (setgroups(0, nullptr) != 0 || setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0)
            _exit(126);
        TChannelReader reader(name);
        const char byte = 1;
        if (write(ready.Write.Get(), &byte, 1) != 1)
            _exit(125);
        AnsiString message;
        AnsiString seen;
        WaitUntil([&] {
            while (reader.ReadMessage(message))
                seen += message.c_str() + AnsiString(";");
            return message == WithNul("end");
        }, 20s);
        _exit(write(results.Write.Get(), seen.data(), seen.size()) == static_cast<ssize_t>(seen.size()) ? 0 : 124);
    }
    ready.Write.Reset();
    results.Write.Reset();
    char byte = 0;
    ASSERT_EQ(read(ready.Read.Get(), &byte, 1), 1);
    WriteMailslot(name, "fromRoot");
    EXPECT_EQ(RunAs(65533, [&name] {
        WriteMailslot(name, "fromOther");
        return 0;
    }), 0);
    EXPECT_EQ(RunAs(65534, [&name] {
        WriteMailslot(name, "fromSelf");
        return 0;
    }), 0);
    WriteMailslot(name, "end");
    int status = 0;
    waitpid(readerProcess, &status, 0);
    char buffer[256] = {};
    const ssize_t count = read(results.Read.Get(), buffer, sizeof buffer - 1);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(std::string(buffer, count > 0 ? static_cast<size_t>(count) : 0), "fromRoot;fromSelf;end;");
}

// Other users can fill the queue of a root window's channel but never take
// its one thread: every datagram that a tick takes counts, dropped ones too,
// so the window keeps ticking through the flood and root's command gets in.
TEST(Channel, AnotherUsersFloodNeverStarvesRootsCommands)
{
    if (getuid() != 0)
        GTEST_SKIP() << "sending as other users needs root";
    const AnsiString name = UniqueChannelName();
    TChannelReader reader(name);
    std::vector<pid_t> flooders(8);
    for (pid_t& flooder : flooders) {
        if ((flooder = fork()) != 0)
            continue;
        // Each waits for room and fills it the moment it is made.
        const std::optional<TChannelAddress> address = ChannelAddress(name);
        const TFileDescriptor slot(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
        const timeval patience{0, 100000};
        if (setgroups(0, nullptr) != 0 || setresgid(65533, 65533, 65533) != 0 ||
            setresuid(65533, 65533, 65533) != 0 || !address ||
            connect(slot.Get(), address->Get(), address->Length) != 0 ||
            setsockopt(slot.Get(), SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience) != 0)
            _exit(126);
        for (const auto end = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < end;)
            send(slot.Get(), "Terminate", 10, 0);
        _exit(0);
    }
    std::this_thread::sleep_for(200ms);
    auto sender = std::async(std::launch::async, [&name] { WriteMailslot(name, "FinishInstallation"); });
    bool arrived = false;
    for (int tick = 0; !arrived && tick < 200; ++tick) {
        AnsiString message;
        arrived = reader.ReadMessage(message) && message == WithNul("FinishInstallation");
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_TRUE(arrived) << "root's command was lost in the flood";
    for (const pid_t flooder : flooders) {
        kill(flooder, SIGKILL);
        waitpid(flooder, nullptr, 0);
    }
}

} // namespace
