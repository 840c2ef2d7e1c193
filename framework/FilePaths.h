#pragma once
// File names by the rule of the platform the program runs on. The rule is
// the platform's; these routines only apply it.
#include <string>

#include "AnsiString.h"

// The characters that end a file name's directory part: on Windows the
// backslash and a drive's colon, on Linux the slash.
extern const char DirectoryDelimiters[];
// The delimiter a directory gets when it ends in none.
extern const char PathDelimiter;

// The directory part of a file name: up to and including its last directory
// delimiter; empty when it has none.
AnsiString ExtractFilePath(const AnsiString& fileName);
// The directory with the path delimiter at its end; the empty text stays
// empty (it names the current directory).
AnsiString IncludeTrailingPathDelimiter(const AnsiString& directory);

// Every byte of the file of that name (UTF-8, or the ANSI code page where it
// is not well-formed UTF-8); nothing when it is missing, unreadable or a
// directory (platform code).
std::string ReadFileBytes(const AnsiString& fileName);
// Why the file of that name cannot be read, as a system error code for
// SysErrorMessage; 0 when it can (platform code).
unsigned long FileReadError(const AnsiString& fileName);
