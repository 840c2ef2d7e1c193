#pragma once
// A fresh folder below the temporary directory for one test, removed with
// everything in it. Each file written under a new name gets a name of its own,
// because Wine keeps the ini files that a process has read cached by name.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "AnsiString.h"

class TTempFolder {
public:
    explicit TTempFolder(const std::string& tag = "dn")
    {
        std::random_device random;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        do
            FFolder = base / (tag + "-" + std::to_string(random()));
        while (!std::filesystem::create_directory(FFolder));
        // Readable by the other users that some tests run the program as.
        std::filesystem::permissions(FFolder, std::filesystem::perms::all);
        FPath = FFolder.string() + static_cast<char>(std::filesystem::path::preferred_separator);
    }
    ~TTempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(FFolder, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // With a trailing path delimiter.
    const AnsiString& Path() const { return FPath; }

    // Writes `bytes` into the file `name` in the folder; returns its path.
    AnsiString Write(const std::string& name, const AnsiString& bytes) const
    {
        const AnsiString path = FPath + name;
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    // A path in the folder that no file has had yet.
    AnsiString NewPath() { return FPath + "file" + std::to_string(++FCount) + ".ini"; }
    // Writes the bytes into a new file and returns its path.
    AnsiString Write(const AnsiString& bytes) { return Write(NewPath().substr(FPath.size()), bytes); }

private:
    std::filesystem::path FFolder;
    AnsiString FPath;
    int FCount = 0;
};
