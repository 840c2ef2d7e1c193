// Uses the installed library and reports every check that fails; the exit
// code is the number of failures.
#include <windows.h>

#include <cstdio>

#include "ConstKx.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "UtilsKx.h"

using namespace NUtilsKx;

static int failures = 0;

static void Check(bool condition, const char* what)
{
    if (!condition) {
        std::printf("failed: %s\n", what);
        ++failures;
    }
}

int main()
{
    char text[256];
    Check(LoadStringA(GetModuleHandleA(nullptr), SErrorTempFile, text, sizeof text) > 0,
          "the message table is in the program's resources");
    Check(GetFileVersion() == "4.3.2 (Build 1)", "GetFileVersion reads this program");

    char system[MAX_PATH + 1] = {};
    ::GetTempPathA(sizeof system, system);
    const AnsiString folder = GetTempPathA();
    Check(folder == system && DirExists(folder), "GetTempPathA beside the system's");

    const AnsiString file = CreateTempFile("pkg");
    Check(GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES, "CreateTempFile");
    DeleteFileA(file.c_str());
    SetEnvironmentVariableA("TMP", (folder + "no such folder").c_str());
    try {
        CreateTempFile("pkg");
        Check(false, "CreateTempFile raises");
    } catch (const Exception& error) {
        Check(error.Message == LoadResString(SErrorTempFile) && error.Message == text, "the message comes along");
    }

    Check(DaysPerMonth(45351.5) == 29 && DaysPerMonth(2023, 2) == 28, "DaysPerMonth");

    TMemoryStream stream;
    SaveUIntToStream(0x12345678, &stream);
    stream.SetPosition(0);
    Check(static_cast<unsigned char>(stream.Memory()[0]) == 0x12 && ReadUIntFromStream(&stream) == 0x12345678,
          "stream integers");

    TForm form(nullptr);
    auto* memo = new TMemo(&form);
    memo->SetParent(&form);
    Check(IsChildControl(&form, memo) && !IsChildControl(&form, &form), "the window helpers with the controls");

    std::printf("%d failures\n", failures);
    return failures;
}
