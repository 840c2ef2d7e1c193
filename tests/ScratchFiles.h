#pragma once
// Files for the tests that run both natively and under Wine: a fresh folder
// for each test, and a new name for every file written, because Wine keeps
// the ini files that a process has read cached by their names.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "AnsiString.h"

class TScratchFolder {
public:
    TScratchFolder()
    {
        std::random_device random;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        do
            FPath = base / ("dn-test-" + std::to_string(random()));
        while (!std::filesystem::create_directory(FPath));
    }
    ~TScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    // A path in the folder that no file has had yet.
    AnsiString NewPath() { return (FPath / ("file" + std::to_string(++FCount) + ".ini")).string(); }

    // Writes the bytes into a new file and returns its path.
    AnsiString Write(const AnsiString& contents)
    {
        const AnsiString path = NewPath();
        std::ofstream(path, std::ios::binary).write(contents.data(), static_cast<std::streamsize>(contents.size()));
        return path;
    }

private:
    std::filesystem::path FPath;
    int FCount = 0;
};
