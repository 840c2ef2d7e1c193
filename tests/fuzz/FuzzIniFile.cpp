// Our ini-file reader. Any bytes as a file: no crash, no value beyond the
// limit. A value written into a generated file, with blanks, quotes, a
// choice of line ends and decoys around it, comes back as an independent
// reading of the rules says: trimmed, cut at a NUL, unquoted, at most 2047
// characters.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "IniFiles.h"
#include "IniFormat.h"

namespace {

bool Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 26;
}

std::string Expected(const std::string& written)
{
    size_t first = 0;
    size_t last = written.size();
    while (first < last && Blank(written[first]))
        ++first;
    while (last > first && Blank(written[last - 1]))
        --last;
    std::string value = written.substr(first, last - first);
    value = value.substr(0, value.find('\0'));
    const size_t n = value.size();
    if (n >= 2 && (value[0] == '"' || value[0] == '\'') && value[n - 1] == value[0])
        value = value.substr(1, n - 2);
    return value.substr(0, IniValueMaxLength);
}

void ArbitraryFile(const std::string& bytes)
{
    const std::vector<TIniSection> sections = ParseIniText(DecodeIniFile(bytes));
    size_t checked = 0;
    for (const TIniSection& section : sections)
        for (const TIniEntry& entry : section.Entries) {
            if (++checked > 32)
                return;
            if (LookUpIniString(sections, section.Name, entry.Name, bytes).size() > IniValueMaxLength)
                std::abort();
        }
}

void GeneratedFile(const std::string& bytes)
{
    if (bytes.size() < 2)
        return;
    const unsigned options = static_cast<unsigned char>(bytes[0]);
    std::string value;
    for (char c : bytes.substr(1))
        if (c != '\r' && c != '\n')
            value += c;
    const char* const lineEnds[] = {"\r\n", "\n", "\r"};
    const std::string end = lineEnds[options % 3];
    const std::string blanks[] = {"", " ", "\t \x1a", "  \v\f"};
    const std::string& before = blanks[(options >> 2) % 4];
    const std::string& after = blanks[(options >> 4) % 4];
    if (options & 0x40)
        value = (options & 0x80 ? "'" : "\"") + value + (options & 0x80 ? "'" : "\"");

    const std::string file = "Key=outside" + end + "[Other]" + end + "Key=other" + end + before + "[ Strings ]" +
                             after + end + "Zz=1" + end + before + "kEY" + after + "=" + before + value + after +
                             end + "Key=second" + end + "[strings]" + end + "Key=later section";
    const std::vector<TIniSection> sections = ParseIniText(file);
    if (LookUpIniString(sections, "Strings", "Key", "") != Expected(value))
        std::abort();

    std::string defaultValue = bytes.substr(1);
    defaultValue = defaultValue.substr(0, defaultValue.find('\0'));
    defaultValue.erase(defaultValue.find_last_not_of(' ') + 1);
    if (LookUpIniString(sections, "Strings", "Missing", bytes.substr(1)) !=
        defaultValue.substr(0, IniValueMaxLength))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ArbitraryFile(bytes);
    GeneratedFile(bytes);
    return 0;
}
