#pragma once
// The ini-file reader of the settings: a value ends before its first tab, so
// that an administrator can put a remark behind a tab.
#include "IniFiles.h"

class TIniFileKx : public TIniFile {
public:
    explicit TIniFileKx(const AnsiString& fileName);
    ~TIniFileKx() override;

    // The base class's value (or default), cut before its first tab; blanks in
    // front of the tab stay.
    AnsiString ReadString(const AnsiString& section, const AnsiString& ident,
                          const AnsiString& defaultValue) const override;
};
