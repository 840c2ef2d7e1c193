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
