#pragma once
// A place from which a user may run the program when its own folder is
// closed to them (deployment caches are often readable by SYSTEM and the
// administrators alone): a new folder deployNotice\<random> under the common
// application data folder that SYSTEM and the administrators control and
// the user may read and run. Users may create folders and links there too,
// so nothing is ever created or deleted there through a junction or a
// symbolic link.
#include <windows.h>

#include <string>

#include "AnsiString.h"
#include "Handle.h"

class TStagingFolder {
public:
    // Creates a folder of its own, never one that exists, for the user whose
    // SID is `userSid`. Raises Exception with the system's code.
    explicit TStagingFolder(const AnsiString& userSid);
    // Removes the folder, unless Remove has.
    ~TStagingFolder();
    TStagingFolder(const TStagingFolder&) = delete;
    TStagingFolder& operator=(const TStagingFolder&) = delete;

    const std::wstring& Path() const { return FPath; }
    // Copies a file into the folder under its own name and returns the
    // copy's path. Raises Exception with the system's code.
    std::wstring Copy(const std::wstring& file);
    // Removes the folder with everything in it; false when something stays.
    bool Remove();

private:
    TFileHandle FBase;
    std::wstring FName;
    std::wstring FPath;
    // Held while the folder is in use: nobody can move or remove it, and
    // the copies go into this folder whatever happens to its path.
    TFileHandle FFolder;
};

// Removes the staging folders that earlier runs left behind (a run ended
// before it could clean up); folders that a live run holds stay.
void RemoveStagingLeftovers();
