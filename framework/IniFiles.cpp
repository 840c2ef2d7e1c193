#include "IniFiles.h"

#include "IniValues.h"
#include "SysUtils.h"

int TCustomIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident, int defaultValue) const
{
    return StrToIntDef(ReadString(section, ident, ""), defaultValue);
}

void TCustomIniFile::WriteInteger(const AnsiString& section, const AnsiString& ident, int value)
{
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const AnsiString& section, const AnsiString& ident, bool defaultValue) const
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& section, const AnsiString& ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

namespace {

using TTextReader = bool (*)(const AnsiString&, double&);

double ReadAs(TTextReader reader, const AnsiString& text, double defaultValue)
{
    double value = 0;
    return reader(text, value) ? value : defaultValue;
}

} // namespace

TDateTime TCustomIniFile::ReadDate(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue) const
{
    return ReadAs(TryIniTextToDate, ReadString(section, ident, ""), defaultValue);
}

TDateTime TCustomIniFile::ReadDateTime(const AnsiString& section, const AnsiString& ident,
                                       TDateTime defaultValue) const
{
    return ReadAs(TryIniTextToDateTime, ReadString(section, ident, ""), defaultValue);
}

double TCustomIniFile::ReadFloat(const AnsiString& section, const AnsiString& ident, double defaultValue) const
{
    return ReadAs(TryIniTextToFloat, ReadString(section, ident, ""), defaultValue);
}

TDateTime TCustomIniFile::ReadTime(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue) const
{
    return ReadAs(TryIniTextToTime, ReadString(section, ident, ""), defaultValue);
}

bool TCustomIniFile::ValueExists(const AnsiString& section, const AnsiString& ident) const
{
    TStringList idents;
    ReadSection(section, idents);
    return idents.IndexOf(ident) >= 0;
}

void TCustomIniFile::WriteDate(const AnsiString& section, const AnsiString& ident, TDateTime value)
{
    WriteString(section, ident, DateToIniText(value));
}

void TCustomIniFile::WriteDateTime(const AnsiString& section, const AnsiString& ident, TDateTime value)
{
    WriteString(section, ident, DateTimeToIniText(value));
}

void TCustomIniFile::WriteFloat(const AnsiString& section, const AnsiString& ident, double value)
{
    WriteString(section, ident, FloatToIniText(value));
}

void TCustomIniFile::WriteTime(const AnsiString& section, const AnsiString& ident, TDateTime value)
{
    WriteString(section, ident, TimeToIniText(value));
}
