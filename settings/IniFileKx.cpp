#include "IniFileKx.h"

#include "IniFormat.h"

TIniFileKx::TIniFileKx(const AnsiString& fileName) : TIniFile(fileName) {}

TIniFileKx::~TIniFileKx() = default;

AnsiString TIniFileKx::ReadString(const AnsiString& section, const AnsiString& ident,
                                  const AnsiString& defaultValue) const
{
    AnsiString text = LookUpIniString(ReadIniFile(FileName()), section, ident, defaultValue);
    const size_t tab = text.find('\t');
    if (tab != AnsiString::npos)
        text.resize(tab);
    return text;
}
