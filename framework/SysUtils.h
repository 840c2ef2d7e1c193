#pragma once
// Exceptions, integer conversion and the locale-dependent text routines of the
// framework layer.
#include <exception>
#include <utility>

#include "AnsiString.h"

class Exception : public std::exception {
public:
    explicit Exception(AnsiString message, unsigned long errorCode = 0)
        : Message(std::move(message)), FErrorCode(errorCode)
    {
    }
    const char* what() const noexcept override { return Message.c_str(); }
    // The operating system's code for the failure behind the message (the
    // last error on Windows, errno on Linux), 0 when there is none. Boxes show
    // the message alone; lines written for a person who looks into a failure
    // later carry the code too (ErrorDetail).
    unsigned long ErrorCode() const { return FErrorCode; }

    AnsiString Message;

private:
    unsigned long FErrorCode;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class EStringListError : public Exception {
public:
    using Exception::Exception;
};

class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// The system's text for an error code (FormatMessage on Windows, strerror
// elsewhere), without a line end.
AnsiString SysErrorMessage(unsigned long errorCode);
// "error <code>: <system's text>" for an Exception that carries a code; the
// empty text for any other.
AnsiString ErrorDetail(const std::exception& error);

// printf-style formatting into a new string.
[[gnu::format(printf, 1, 2)]] AnsiString Format(const char* format, ...);

// The one integer conversion. Accepted: leading spaces (code 32 only), then
// either an optional sign and decimal digits within the signed 32-bit range, or
// a hexadecimal number of one to eight digits introduced by "$", "x", "X", "0x"
// or "0X" (its 32-bit pattern is the value, so "$FFFFFFFF" is -1). Nothing may
// follow the number.
bool TryStrToInt(const AnsiString& text, int& value) noexcept;
// Raises EConvertError "'<text>' ist kein gültiger Integerwert".
int StrToInt(const AnsiString& text);
int StrToIntDef(const AnsiString& text, int defaultValue) noexcept;

AnsiString IntToStr(long long value);
AnsiString UIntToStr(unsigned long long value);

// The text of an error box for an exception message: a full stop is appended
// when the last character's code is above that of "." (so "x" and ")" differ:
// code 41 is below 46).
AnsiString ErrorBoxText(const AnsiString& message);

// Locale-dependent routines: the user's locale and ANSI code page on Windows,
// the user's locale over code page 1252 on Linux, plain ASCII rules in the
// native build of the portable code.
AnsiString AnsiLowerCase(const AnsiString& text);
// The same for a UTF-8 text (the front end's command line): every letter
// lower-cased as the user's locale does it.
AnsiString Utf8LowerCase(const AnsiString& utf8);
AnsiString AnsiUpperCase(const AnsiString& text);
int AnsiCompareStr(const AnsiString& a, const AnsiString& b);
int AnsiCompareText(const AnsiString& a, const AnsiString& b);
bool AnsiSameText(const AnsiString& a, const AnsiString& b);
// Single characters, as the platform's CharLowerA and IsCharAlphaNumericA see them.
char AnsiCharLower(char c);
bool AnsiIsCharAlphaNumeric(char c);
// Character by character, as the platform's CharUpperBuffA maps them; the
// length stays the same.
AnsiString AnsiCharUpperBuff(const AnsiString& text);
