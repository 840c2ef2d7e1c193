#pragma once
// Ini files: named sections of "name=value" lines in single-byte ANSI text.
//
// The typed operations keep their values as text, in forms that are the same
// in every locale:
//   integer    what StrToInt accepts (decimal, or hexadecimal with "$" or
//              "0x"); written in decimal
//   boolean    an integer: 0 is false, every other integer true; written as
//              0 or 1
//   float      digits with a full stop as the decimal separator, an optional
//              "-" in front and an optional exponent ("2.5", "-0.125",
//              "1e-07"); written as the shortest such text that reads back as
//              the same value
//   date       YYYY-MM-DD, years 1 to 9999
//   time       hh:mm:ss or hh:mm:ss.zzz, on the 24-hour clock; written with
//              the milliseconds only when there are some
//   date-time  the date, or the date, one space and the time
// A typed reader returns its default for a missing key, an empty text and a
// text not in its form.
#include "AnsiString.h"
#include "Classes.h"
#include "DateTime.h"

class TCustomIniFile {
public:
    explicit TCustomIniFile(const AnsiString& fileName) : FFileName(fileName) {}
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    const AnsiString& FileName() const { return FFileName; }

    virtual AnsiString ReadString(const AnsiString& section, const AnsiString& ident,
                                  const AnsiString& defaultValue) const = 0;
    virtual void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) = 0;
    // The typed operations read and write their text through ReadString and
    // WriteString, so that a class that changes those changes them too.
    virtual int ReadInteger(const AnsiString& section, const AnsiString& ident, int defaultValue) const;
    virtual void WriteInteger(const AnsiString& section, const AnsiString& ident, int value);
    virtual bool ReadBool(const AnsiString& section, const AnsiString& ident, bool defaultValue) const;
    virtual void WriteBool(const AnsiString& section, const AnsiString& ident, bool value);
    virtual TDateTime ReadDate(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue) const;
    virtual TDateTime ReadDateTime(const AnsiString& section, const AnsiString& ident,
                                   TDateTime defaultValue) const;
    virtual double ReadFloat(const AnsiString& section, const AnsiString& ident, double defaultValue) const;
    virtual TDateTime ReadTime(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue) const;
    virtual void WriteDate(const AnsiString& section, const AnsiString& ident, TDateTime value);
    virtual void WriteDateTime(const AnsiString& section, const AnsiString& ident, TDateTime value);
    virtual void WriteFloat(const AnsiString& section, const AnsiString& ident, double value);
    virtual void WriteTime(const AnsiString& section, const AnsiString& ident, TDateTime value);
    // The section-wide readers replace the list's contents.
    // The names of the section's keys.
    virtual void ReadSection(const AnsiString& section, TStrings& idents) const = 0;
    // The names of all sections.
    virtual void ReadSections(TStrings& sections) const = 0;
    // The section's lines as "name=value", values as the file holds them.
    virtual void ReadSectionValues(const AnsiString& section, TStrings& values) const = 0;
    // Whether the section has a line "key=", with or without a value. Taken
    // from the section's key list: ReadString gives a missing key and an
    // empty value alike.
    bool ValueExists(const AnsiString& section, const AnsiString& ident) const;
    virtual void EraseSection(const AnsiString& section) = 0;
    virtual void DeleteKey(const AnsiString& section, const AnsiString& ident) = 0;
    // Writes what the platform still holds back to the file.
    virtual void UpdateFile() = 0;
    virtual ~TCustomIniFile() = default;

protected:
    AnsiString FFileName;
};

// The private-profile file. Nothing of the file is kept: every operation goes
// to the file. A value holds at most IniValueMaxLength characters; longer
// ones are cut.
//
// The format: lines end at CR LF, LF or CR; blanks (codes 9 to 13, 26 and 32)
// around a line, a name and a value do not count. A line "[name]" opens a
// section (the name runs to the last "]"); other lines are "name=value" (split
// at the first "="), or a name without a value; the section-wide readers pass
// over names that begin with ";". Section and key names are
// compared without regard to case; the first matching section and in it the
// first matching key count. A value framed by a pair of matching quotes (" or
// ') is read without them. A missing file, section, key or value gives the
// default, without its trailing spaces.
class TIniFile : public TCustomIniFile {
public:
    using TCustomIniFile::TCustomIniFile;

    AnsiString ReadString(const AnsiString& section, const AnsiString& ident,
                          const AnsiString& defaultValue) const override;
    void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) override;
    void ReadSection(const AnsiString& section, TStrings& idents) const override;
    void ReadSections(TStrings& sections) const override;
    void ReadSectionValues(const AnsiString& section, TStrings& values) const override;
    void EraseSection(const AnsiString& section) override;
    void DeleteKey(const AnsiString& section, const AnsiString& ident) override;
    void UpdateFile() override;
};

constexpr int IniValueMaxLength = 2047;
