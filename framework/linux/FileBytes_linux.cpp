#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "FilePaths.h"

// File names are the file system's bytes.
std::string ReadFileBytes(const AnsiString& fileName)
{
    std::string bytes;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(fileName.c_str(), "rb"), &std::fclose);
    if (file) {
        char buffer[65536];
        while (const size_t count = std::fread(buffer, 1, sizeof buffer, file.get()))
            bytes.append(buffer, count);
    }
    return bytes;
}

unsigned long FileReadError(const AnsiString& fileName)
{
    const int file = open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return static_cast<unsigned long>(errno);
    struct stat status{};
    const bool folder = fstat(file, &status) == 0 && S_ISDIR(status.st_mode);
    close(file);
    return folder ? EISDIR : 0;
}
