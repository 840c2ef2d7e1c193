// Uses the installed library and reports every check that fails; the exit
// code is the number of failures.
#include <windows.h>

#include <cstdio>
#include <string>

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

    // Captions are UTF-8; single-byte text that is no UTF-8 is read in the ANSI code page.
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    wchar_t shown[16] = {};
    label->SetCaption("\xD0\x9E\xD1\x84\xD0\xB8\xD1\x81");
    GetWindowTextW(static_cast<HWND>(label->Handle()), shown, 16);
    Check(std::wstring(shown) == L"\u041E\u0444\u0438\u0441", "a UTF-8 caption");
    const char ansi[] = {'G', static_cast<char>(0xFC), 't', 0};
    wchar_t expected[16] = {};
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, expected, 16);
    label->SetCaption(ansi);
    GetWindowTextW(static_cast<HWND>(label->Handle()), shown, 16);
    Check(std::wstring(shown) == expected, "an ANSI caption");

    std::printf("%d failures\n", failures);
    return failures;
}
