#pragma once
// A place from which a user may run the program when its own folder is
// closed to them (deployment caches are often readable by SYSTEM and the
// administrators alone): a new folder deployNotice\<random> under the common
// application data folder, which SYSTEM and the administrators control and
// the user may read and run. Users may create folders and links in the
// common folder too, so the deployNotice folder is used only while it is
// SYSTEM's, and nothing is ever created, copied or deleted through a
// junction, a symbolic link or a second name of a file.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "AnsiString.h"
#include "Handle.h"

// A folder's owner and access list as security descriptor text (SDDL);
// empty when they cannot be read.
using TFolderSecurity = std::function<AnsiString(HANDLE folder)>;

// Whether a folder with this security is in the hands of SYSTEM and the
// administrators alone: one of them owns it, and its access list, which
// takes nothing from the folder above, gives nobody else a right to change
// it or what it holds.
bool InTrustedHands(const AnsiString& security);

class TStagingFolder {
public:
    // Creates a folder of its own, never one that exists, for the user whose
    // SID is `userSid`. A deployNotice folder that is not in the hands of
    // trusted owners alone is moved aside first. Raises Exception with the
    // system's code.
    TStagingFolder(const AnsiString& userSid, const TFolderSecurity& security);
    // Removes the folder, unless Remove has.
    ~TStagingFolder();
    TStagingFolder(const TStagingFolder&) = delete;
    TStagingFolder& operator=(const TStagingFolder&) = delete;

    const std::wstring& Path() const { return FPath; }
    // Copies a file into the folder under its own name and returns the
    // copy's path; the copy stays open for reading only, so that nobody can
    // change or replace it while the folder is in use. A link, or a file
    // with more than one name, is refused: what it leads to may be a file
    // that only SYSTEM may read. Raises Exception, with the system's code
    // where it has one; nothing is copied then.
    std::wstring Copy(const std::wstring& file);
    // Whether `file` (a path) is one of the copies.
    bool Holds(const std::wstring& file) const;
    // Removes the folder with everything in it; false when something stays.
    bool Remove();

private:
    TFileHandle FBase;
    std::wstring FName;
    std::wstring FPath;
    // Held while the folder is in use: nobody can move or remove it, and
    // the copies go into this folder whatever happens to its path.
    TFileHandle FFolder;
    std::vector<TFileHandle> FCopies;
};

// Removes the staging folders that earlier runs left behind (a run ended
// before it could clean up); folders that a live run holds stay, and so
// does everything in a deployNotice folder that is not SYSTEM's.
void RemoveStagingLeftovers(const TFolderSecurity& security);
