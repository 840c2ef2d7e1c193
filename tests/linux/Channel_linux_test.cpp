// The command channel on Linux, natively: the datagram socket in the abstract
// namespace under the mailslot's name.
#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <future>
#include <thread>

#include "Command.h"
#include "Mailslot.h"
#include "SysUtils.h"
#include "TestProcess.h"

namespace {

using namespace std::chrono_literals;

std::vector<AnsiString> ReadAll(TMailslotReader& reader)
{
    std::vector<AnsiString> messages;
    AnsiString message;
    while (reader.ReadMessage(message))
        messages.push_back(message);
    return messages;
}

AnsiString WithNul(const AnsiString& text)
{
    return text + '\0';
}

// Sends raw bytes as one datagram, as a foreign writer might; false when the
// socket would not take them at once.
bool SendRaw(const AnsiString& name, const AnsiString& bytes, int flags = MSG_DONTWAIT)
{
    const int slot = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    const int room = static_cast<int>(bytes.size() + 4096);
    setsockopt(slot, SOL_SOCKET, SO_SNDBUF, &room, sizeof room);
    const ssize_t sent =
        sendto(slot, bytes.data(), bytes.size(), flags, reinterpret_cast<const sockaddr*>(&address), length);
    close(slot);
    return sent == static_cast<ssize_t>(bytes.size());
}

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

TEST(Channel, OneReaderPerNameAndAFreedNameIsFreeAtOnce)
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
        WriteMailslot(name, "Terminate");
        AnsiString message;
        ASSERT_TRUE(first.ReadMessage(message));
        EXPECT_EQ(message, WithNul("Terminate"));
    }
    EXPECT_NO_THROW(TMailslotReader again(name));

    // A reader that is killed leaves nothing behind that could block the
    // next one: the name lives in no file.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        TMailslotReader reader(name);
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = write(ready[1], &byte, 1);
        pause();
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    EXPECT_THROW(TMailslotReader busy(name), Exception);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_NO_THROW(TMailslotReader after(name));
}

TEST(Channel, NamesTheAddressCannotHoldNeitherReadNorWrite)
{
    const AnsiString tooLong(200, 'n');
    EXPECT_THROW(TMailslotReader reader(tooLong), Exception);
    EXPECT_THROW(TMailslotReader reader(""), Exception);
    EXPECT_NO_THROW(WriteMailslot(tooLong, "Terminate"));
}

TEST(Channel, WriterWithoutReaderDropsAndLaterReadersSeeNothing)
{
    const AnsiString name = UniqueMailslotName();
    EXPECT_NO_THROW(WriteMailslot(name, "Terminate"));
    TMailslotReader reader(name);
    AnsiString message;
    EXPECT_FALSE(reader.ReadMessage(message));
}

TEST(Channel, MessagesArriveWholeInOrderOnePerRead)
{
    const AnsiString name = UniqueMailslotName();
    TMailslotReader reader(name);
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

TEST(Channel, ZeroByteAndUnterminatedMessagesAreReadExactly)
{
    const AnsiString name = UniqueMailslotName();
    TMailslotReader reader(name);
    ASSERT_TRUE(SendRaw(name, ""));
    ASSERT_TRUE(SendRaw(name, "Terminate"));
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
    const AnsiString name = UniqueMailslotName();
    TMailslotReader reader(name);
    // The largest datagram this machine takes, found by halving.
    size_t fits = 64 * 1024;
    size_t fails = 64 * 1024 * 1024;
    while (fails - fits > 1024) {
        const size_t middle = (fits + fails) / 2;
        if (SendRaw(name, AnsiString(middle, 'x'))) {
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
    const AnsiString name = UniqueMailslotName();
    TMailslotReader reader(name);
    int queued = 0;
    while (SendRaw(name, Format("ProcessPackage|p%d|install", queued) + '\0'))
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
        ASSERT_TRUE(SendRaw(name, "x"));
    auto late = std::async(std::launch::async, [&name] { WriteMailslot(name, "Terminate"); });
    AnsiString message;
    ASSERT_TRUE(reader.ReadMessage(message));
    ASSERT_EQ(late.wait_for(30s), std::future_status::ready);
    const std::vector<AnsiString> rest = ReadAll(reader);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.back(), WithNul("Terminate"));
}

TEST(Channel, ConcurrentWritersAllGetThroughToAReaderThatKeepsReading)
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

// The kernel tells the reader who sent each message; only the reader's own
// user and root get through, everything else is taken out and dropped.
TEST(Channel, OnlyTheReadersOwnUserAndRootGetThrough)
{
    if (getuid() != 0)
        GTEST_SKIP() << "sending as other users needs root";
    const AnsiString name = UniqueMailslotName();
    {
        TMailslotReader reader(name);
        EXPECT_EQ(RunAs(65534, [&name] {
            WriteMailslot(name, "Terminate");
            return 0;
        }), 0);
        WriteMailslot(name, "FinishInstallation");
        EXPECT_EQ(ReadAll(reader), std::vector<AnsiString>{WithNul("FinishInstallation")})
            << "another user's message was taken";
    }

    // A reader of an ordinary user takes its own user's and root's messages.
    int results[2];
    int ready[2];
    ASSERT_EQ(pipe(results), 0);
    ASSERT_EQ(pipe(ready), 0);
    const pid_t readerProcess = fork();
    if (readerProcess == 0) {
        if (setgroups(0, nullptr) != 0 || setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0)
            _exit(126);
        TMailslotReader reader(name);
        const char byte = 1;
        if (write(ready[1], &byte, 1) != 1)
            _exit(125);
        AnsiString message;
        AnsiString seen;
        WaitUntil([&] {
            while (reader.ReadMessage(message))
                seen += message.c_str() + AnsiString(";");
            return message == WithNul("end");
        }, 20s);
        _exit(write(results[1], seen.data(), seen.size()) == static_cast<ssize_t>(seen.size()) ? 0 : 124);
    }
    close(ready[1]);
    close(results[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
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
    const ssize_t count = read(results[0], buffer, sizeof buffer - 1);
    close(results[0]);
    close(ready[0]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(std::string(buffer, count > 0 ? static_cast<size_t>(count) : 0), "fromRoot;fromSelf;end;");
}

} // namespace
