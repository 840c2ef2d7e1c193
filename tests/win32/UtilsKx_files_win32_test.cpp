// The library's file-version, file, temporary-file and global-memory helpers
// under the real Win32 API.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "Expect.h"
#include "ProcessArgs.h"
#include "SysUtils.h"
#include "TestProcess.h"
#include "UtilsKx.h"
#include "UtilsKxInternal.h"
#include "version.h"

// The library's GetTempPathA lives beside the system's: both stay callable
// here, where <windows.h> is included and the namespace is opened.
using namespace NUtilsKx;

namespace {

TEST(FileVersion, ReadsTheVersionBlockOfAnyFile)
{
    const struct {
        const char* File;
        const char* Expected;
    } cases[] = {
        {"version_Prerelease.exe", "1.2.2 (Build 1) beta"},
        {"version_PrereleaseMasked.exe", "2.0.0 (Build 0) beta"},
        {"version_HighNumbers.exe", "65535.32768.40000 (Build 65535)"},
        {"version_None.exe", ""},
        {"version_ShortRoot.exe", ""}, // never read past the 8 bytes it has
        {"no such file.exe", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadFileVersion(BinaryFolder() + c.File), c.Expected) << c.File;
    EXPECT_EQ(ReadFileVersion(""), "");
}

TEST(FileVersion, OfTheRunningProgramAndOfDeployNotice)
{
    EXPECT_EQ(GetFileVersion(), "3.1.4 (Build 15)"); // tests.rc
    EXPECT_EQ(ReadFileVersion(ProgramPath()), Format("%d.%d.%d (Build %d)", DN_VERSION_MAJOR, DN_VERSION_MINOR,
                                                     DN_VERSION_PATCH, DN_VERSION_BUILD));
}

TEST(DirExists, OnlyForDirectories)
{
    TTempFolder folder;
    const AnsiString file = folder.Path() + "file.txt";
    TFileHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    EXPECT_TRUE(DirExists(folder.Path()));
    EXPECT_TRUE(DirExists(folder.Path().substr(0, folder.Path().size() - 1)));
    EXPECT_TRUE(DirExists("C:\\"));
    EXPECT_FALSE(DirExists(file));
    EXPECT_FALSE(DirExists(folder.Path() + "missing"));
    EXPECT_FALSE(DirExists(""));
    EXPECT_FALSE(DirExists("C:\\bad<name>"));
}

// Sets an environment variable for the span of a test.
class TEnvironment {
public:
    TEnvironment(const char* name, const char* value) : FName(name)
    {
        char old[MAX_PATH * 4];
        const DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
        FHad = length > 0 && length < sizeof old;
        if (FHad)
            FOld = old;
        SetEnvironmentVariableA(name, value);
    }
    ~TEnvironment() { SetEnvironmentVariableA(FName, FHad ? FOld.c_str() : nullptr); }

private:
    const char* FName;
    AnsiString FOld;
    bool FHad = false;
};

TEST(GetTempPathA, TheSystemsDirectoryWithABackslash)
{
    char system[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathA(sizeof system, system), 0u); // the system's, beside the library's
    AnsiString expected = system;
    AddPathDelimiter(expected);
    EXPECT_EQ(GetTempPathA(), expected);

    TTempFolder folder;
    const AnsiString deep = folder.Path() + AnsiString(200, 'd');
    CreateDirectoryA(deep.c_str(), nullptr);
    const TEnvironment tmp("TMP", deep.c_str());
    EXPECT_EQ(GetTempPathA(), deep + "\\");
}

// Whether `name` is hexadecimal digits and the extension TMP.
bool IsNumberDotTmp(const AnsiString& name)
{
    const size_t digits = name.find_first_not_of("0123456789ABCDEFabcdef");
    return digits > 0 && digits == name.size() - 4 && AnsiSameText(name.substr(digits), ".tmp");
}

TEST(CreateTempFile, NewEmptyFilesNamedFromThePrefix)
{
    TTempFolder folder;
    const TEnvironment tmp("TMP", folder.Path().c_str());
    const AnsiString first = CreateTempFile("prefix");
    const AnsiString second = CreateTempFile("prefix");
    const AnsiString bare = CreateTempFile("");
    for (const AnsiString& file : {first, second, bare}) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data)) << file;
        EXPECT_EQ(data.nFileSizeLow | data.nFileSizeHigh, 0u) << file;
        EXPECT_EQ(file.substr(0, folder.Path().size()), folder.Path());
    }
    EXPECT_NE(first, second);
    const AnsiString firstName = first.substr(folder.Path().size());
    EXPECT_EQ(firstName.substr(0, 3), "pre");
    EXPECT_TRUE(IsNumberDotTmp(firstName.substr(3))) << firstName;
    EXPECT_TRUE(IsNumberDotTmp(bare.substr(folder.Path().size()))) << bare;
}

TEST(CreateTempFile, RaisesWhenTheFileCannotBeCreated)
{
    TTempFolder folder;
    const TEnvironment tmp("TMP", (folder.Path() + "missing").c_str());
    EXPECT_THROW_MSG(CreateTempFile("x"), Exception, "Fehler beim Erstellen einer temporären Datei");
}

// A global memory block freed on every way out of the test.
UINT LockCount(HGLOBAL block)
{
    return GlobalFlags(block) & GMEM_LOCKCOUNT;
}

TEST(CopyGlobalMem, CopiesTheWholeBlockAndLeavesTheSourceAsItWas)
{
    EXPECT_EQ(CopyGlobalMem(GMEM_MOVEABLE, nullptr), nullptr);

    const TGlobalMemory source(GlobalAlloc(GMEM_MOVEABLE, 1000));
    ASSERT_TRUE(source.Valid());
    const SIZE_T size = GlobalSize(source.Get());
    const TGlobalLock sourceLock(source.Get()); // stays locked once
    auto* bytes = static_cast<unsigned char*>(sourceLock.Bytes());
    ASSERT_NE(bytes, nullptr);
    for (SIZE_T i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + 1);

    for (const UINT flags : {UINT(GMEM_MOVEABLE), UINT(GMEM_FIXED), UINT(GMEM_MOVEABLE | GMEM_ZEROINIT)}) {
        const TGlobalMemory copy(CopyGlobalMem(flags, source.Get()));
        ASSERT_TRUE(copy.Valid()) << flags;
        EXPECT_NE(copy.Get(), source.Get());
        EXPECT_EQ(LockCount(source.Get()), 1u);
        EXPECT_GE(GlobalSize(copy.Get()), size);
        const bool moveable = flags & GMEM_MOVEABLE;
        if (moveable) {
            EXPECT_EQ(LockCount(copy.Get()), 0u);
        }
        const TGlobalLock copied(copy.Get());
        EXPECT_EQ(copied.Bytes() == copy.Get(), !moveable) << flags; // the flags were passed on
        EXPECT_EQ(std::memcmp(copied.Bytes(), bytes, size), 0);
    }
}

TEST(CopyGlobalMem, NullWhenTheSourceCannotBeLocked)
{
    // A moveable block of 0 bytes is discarded: it cannot be locked.
    const TGlobalMemory discarded(GlobalAlloc(GMEM_MOVEABLE, 0));
    ASSERT_TRUE(discarded.Valid());
    ASSERT_EQ(TGlobalLock(discarded.Get()).Bytes(), nullptr);
    EXPECT_EQ(CopyGlobalMem(GMEM_FIXED, discarded.Get()), nullptr);
}

} // namespace
