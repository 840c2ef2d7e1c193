#pragma once
// The ini-file reader of the settings: a value ends before its first tab, so
// that an administrator can put a remark behind a tab. The file is read and
// decoded by the program itself on every platform (IniFormat.h), by the
// rules of the platform's private-profile reader: any encoding, in UTF-8.
#include "IniFiles.h"

class TIniFileKx : public TIniFile {
public:
    explicit TIniFileKx(const AnsiString& fileName);
    ~TIniFileKx() override;

    // The value (or default), cut before its first tab; blanks in front of
    // the tab stay.
    AnsiString ReadString(const AnsiString& section, const AnsiString& ident,
                          const AnsiString& defaultValue) const override;
};
