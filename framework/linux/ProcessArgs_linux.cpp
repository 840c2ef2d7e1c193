// The argument list of a Linux process. The shell has already cut the command
// line into arguments; they arrive in the user's locale (UTF-8), as the front
// end takes them, or turned into code page 1252 for the library's list. File
// names stay in the file system's bytes: they go back to the kernel, and a
// round trip through code page 1252 would lose directories whose names it
// cannot hold.
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "ProcessArgs.h"
#include "Utf8.h"

namespace {

// Everything /proc/self/cmdline holds: each argument followed by a NUL.
std::string CommandLineBytes()
{
    std::string bytes;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen("/proc/self/cmdline", "rb"), &std::fclose);
    if (!file)
        return bytes;
    char buffer[4096];
    while (const size_t count = std::fread(buffer, 1, sizeof buffer, file.get()))
        bytes.append(buffer, count);
    return bytes;
}

} // namespace

AnsiString ExecutableFileName()
{
    // The link names the executable itself, symbolic links resolved; its
    // length is not known beforehand, so grow until the whole path fits.
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return AnsiString();
        if (static_cast<size_t>(length) < buffer.size())
            return AnsiString(buffer.data(), static_cast<size_t>(length));
        if (buffer.size() >= 1u << 20)
            return AnsiString();
        buffer.resize(buffer.size() * 2);
    }
}

AnsiString ExecutableFileNameUtf8()
{
    return ExecutableFileName();
}

namespace {

TArgumentList Arguments(AnsiString (*convert)(std::string_view))
{
    TArgumentList list;
    list.Program = ExecutableFileName();
    const std::string bytes = CommandLineBytes();
    // Argument 0 is the program as it was called; the list has the full path.
    size_t at = bytes.find('\0');
    while (at != std::string::npos && at + 1 < bytes.size()) {
        const size_t start = at + 1;
        at = bytes.find('\0', start);
        const size_t end = at == std::string::npos ? bytes.size() : at;
        // An empty argument is no argument, as an empty pair of quotes is none
        // on Windows: the same script line gives the same list.
        if (end > start)
            list.Arguments.push_back(convert(std::string_view(bytes).substr(start, end - start)));
    }
    return list;
}

AnsiString AsItIs(std::string_view text)
{
    return AnsiString(text);
}

} // namespace

TArgumentList ProcessArguments()
{
    return Arguments(Utf8ToAnsi);
}

TArgumentList ProcessArgumentsUtf8()
{
    return Arguments(AsItIs);
}
