#pragma once
// Our own reading of the private-profile text format (the rules are listed
// at TIniFile), for platforms that have no private-profile functions.
#include <optional>
#include <string_view>
#include <vector>

#include "AnsiString.h"

struct TIniEntry {
    AnsiString Name;
    std::optional<AnsiString> Value; // none for a line without "="
};

struct TIniSection {
    AnsiString Name; // empty for the lines in front of the first section
    std::vector<TIniEntry> Entries;
};

// The file's bytes as UTF-8 text: a byte-order mark at the start says that
// the file is UTF-16 (either byte order) or UTF-8; without one, bytes that
// are well-formed UTF-8 are taken as it, others as the legacy code page's (as
// Windows' own reader takes a file without a mark). Windows' reader knows
// only the UTF-16 little-endian mark and Wine's knows all three: here every
// platform reads them the same way. A malformed file gives what it can.
AnsiString DecodeIniFile(std::string_view bytes);

// The sections of the file of that name (UTF-8); none when it is missing,
// unreadable or a directory.
std::vector<TIniSection> ReadIniFile(const AnsiString& fileName);

// The file's sections in file order. A NUL ends a name or a value.
std::vector<TIniSection> ParseIniText(std::string_view text);

// What ReadString gives for the section, key and default.
AnsiString LookUpIniString(const std::vector<TIniSection>& sections, const AnsiString& section,
                           const AnsiString& ident, const AnsiString& defaultValue);
// The first section of that name, or null.
const TIniSection* FindIniSection(const std::vector<TIniSection>& sections, const AnsiString& section);
