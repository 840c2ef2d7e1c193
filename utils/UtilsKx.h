#pragma once
// NUtilsKx: the general utility library.
#include "AnsiString.h"

namespace NUtilsKx {

// Appends a backslash unless the path is empty or already ends with one.
void AddPathDelimiter(AnsiString& path);
// Removes one trailing backslash, except from a path shorter than two
// characters or a drive root such as "C:\".
void RemovePathDelimiter(AnsiString& path);
// Gives a top-level window no taskbar button: hidden, made a tool window
// (not an application window), shown again.
void RemoveWindowTaskbar(void* window);

// --- Text and conversion ---

// The 0-based offset of the first match of `pattern` in `text` (both end at
// their first NUL), or -1; -1 also for a null or empty pattern or text.
// Without `caseSensitive` characters are equal when the platform's CharLowerA
// maps them to the same character. With `wholeWord` attempts start only at the
// text's start or directly behind a non-alphanumeric character (the
// platform's IsCharAlphaNumericA), the skip continuing from where an attempt
// failed, and a match counts only when no alphanumeric character follows it.
int SearchText(const char* pattern, const char* text, bool caseSensitive, bool wholeWord);
// Breaks lines longer than `maxCol` at their last space, which is replaced by
// `breakText`; a line without a space passes unchanged up to its character
// maxCol + 1, and counting starts again behind it. CR, LF and CR LF in the
// text end a line. `text` is left unchanged.
AnsiString WrapText(AnsiString& text, int maxCol, AnsiString breakText);
// Two upper-case hexadecimal digits per byte; empty for a count of 0 or less.
// Raises std::bad_alloc, before `data` is read, when the result would be
// longer than an int can count (a count above INT_MAX / 2).
AnsiString ConvertToHex(const char* data, int count);
// Stores the bytes of a text of hexadecimal digit pairs into `buffer` until
// `size` bytes are stored or the text ends; returns how many were stored.
// Raises Exception (SInvalidHexString) for an unpaired last character and
// EConvertError from StrToInt for a pair that is not hexadecimal; bytes stored
// before stay stored.
int ConvertFromHex(const AnsiString& hex, char* buffer, int size);
// "true" or "false" in any case of the letters; anything else raises
// Exception (SInvalidBoolVal).
bool TextToBool(const AnsiString& text);
AnsiString BoolToText(const bool value);
// The file name after the last backslash or colon, without its last extension.
AnsiString ExtractFileNamePrefix(const AnsiString& path);
// True when every character is a digit 0 to 9 (so also for the empty text).
bool IsNumericString(const AnsiString& text);
// The text without the run of `c` at its start (LTrim) or end (RTrim).
AnsiString LTrim(AnsiString text, char c);
AnsiString RTrim(AnsiString text, char c);
// Characters not allowed in a file name: codes 1 to 31, " * / : < > ? \ |
// and 128, 129, 141 to 144, 157, 158. Without `replace`: the 0-based position
// of the first one, or -1. With `replace`: each is replaced by "-" in place,
// and the result is how many were.
int ValidateFileName(AnsiString& fileName, bool replace);

// --- Command-line switches ---
// Each call reads the process's command line afresh (Windows builds; the same
// logic over a given line or list is in UtilsKxInternal.h).

// The rest of the command line from raw token `index` on (0: the program),
// quotes and spacing as typed: a pointer into the buffer that GetCommandLineA
// returns, or null when there is no such token. Only spaces separate raw
// tokens; a double quote anywhere flips quoting and stays in the text.
char* GetArgPointer(int index);
// The number (1 to n) of the first process argument that is a minus sign
// followed by `name`, or 0. A prefix test: anything may follow the name. With
// `ignoreCase` both sides are upper-cased in the user's code page first.
int GetCmdLineSwitch(const AnsiString& name, bool ignoreCase);
// What follows the name in the argument that GetCmdLineSwitch finds, with no
// separator removed; empty when there is none.
AnsiString GetCmdLineSwitchVal(const AnsiString& name, bool ignoreCase);

} // namespace NUtilsKx
