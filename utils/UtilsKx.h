#pragma once
// NUtilsKx: the general utility library.
#include <cstdio>

#include "AnsiString.h"
#include "DateTime.h"
#include "Streams.h"

class TControl;
class TMemo;
class TPopupMenu;
class TStrings;
class TWinControl;
// The platform's point (x, y); <windows.h> defines it.
struct tagPOINT;
typedef tagPOINT POINT;

namespace NUtilsKx {

// Appends a backslash unless the path is empty or already ends with one.
void AddPathDelimiter(AnsiString& path);
// Removes one trailing backslash, except from a path shorter than two
// characters or a drive root such as "C:\".
void RemovePathDelimiter(AnsiString& path);
// Gives a top-level window no taskbar button: on Windows hidden, made a tool
// window (not an application window), shown again; with GTK its skip-taskbar
// and skip-pager hints are set (forms take them from the application window).
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

// ---- Windows and controls --------------------------------------------------
// For the thread that owns the windows concerned. They report failures
// through their results and raise no errors of their own.

// Adds to `list` the face name of every installed font family, each once:
// a name the list already holds (by its own lookup rules) is not added
// again, and names it held before stay. `dc` is the device context whose
// fonts are listed. What the list's Add raises ends the listing and is
// passed on.
void LoadFontList(void* dc, TStrings* list);
// The caret of the memo (its selection start) in the memo's client pixels,
// also behind the last character of the text, where the control itself
// reports no position. False, with (-1, -1), when the caret lies outside the
// client area (scrolled out of view) or the memo sits on no form.
bool GetMemoCaretPos(TMemo* memo, POINT& position);
// To be called right after `menu` has been shown and closed: when the next
// message of the thread's queue is the menu command of one of the menu's
// items (merged menus included), it is taken out and dispatched, so the
// command has been carried out on return (true). The application's
// OnMessage sees it first; when that handles it, it stays queued (false).
bool ProcessPopMenuMessage(TPopupMenu* menu);
// SetForegroundWindow, with the calling thread's input attached for the
// call to that of the thread that owns the foreground window. True when the
// system accepted the window.
bool ForceForegroundWindow(void* window);
// Acts only when the program was started minimised without activation
// (SW_SHOWMINNOACTIVE). Before the application runs (`beforeStart`): the
// main form is not shown and the application's window gets the minimised
// style. While it runs: the application's window is minimised without the
// system's animation.
void ShowMinimizedOnStartup(bool beforeStart);
// ShowWindow with `command` (an SW_ value), the system's minimise and
// restore animation switched off for the call and set back after it.
void ShowWinNoAnimate(void* window, int command);
// The system's minimise and restore animation: 0 for off (also when it
// cannot be read), anything else for on. Setting it is not written to the
// user's profile; failures are not reported.
int GetWindowAnimation();
void SetWindowAnimation(int animation);
// The windowed control below `root`, at any depth, whose window has the
// keyboard focus, or null; `root` itself is not looked at. Creates the
// windows of the controls it passes that have none yet.
TWinControl* GetFocusControl(TWinControl* root);
// Whether `control` lies anywhere below `root` (not `root` itself).
bool IsChildControl(TWinControl* root, TControl* control);

// ---- Rich-text copy ----------------------------------------------------------

// Copies the content of the rich-edit control `source` into `destination`
// through memory, in the rich-edit stream format `format` (SF_TEXT, SF_RTF,
// ... with SFF_SELECTION: from the source's selection into the destination's
// selection). Raises EOutOfResources (SStreamLoadFailed) when either control
// reports a failure; when reading the source fails, the destination is left
// alone. A window that does not handle the transfer is left unchanged.
void CopyRichText(void* destination, void* source, int format);

// ---- File version ----------------------------------------------------------

// The running program's file version as "1.2.2 (Build 1)", with " beta"
// appended for a pre-release build; the empty string when the executable has
// no readable version resource. Never raises.
AnsiString GetFileVersion();

// ---- Files, directories, temporary files and calendar ----------------------

// Whether the path names an existing directory. Never raises.
bool DirExists(const AnsiString& path);
// Reads one line of at most 1023 bytes from `stream` into `line` and drops its
// line feed; a longer line comes in pieces over successive calls. False, with
// `line` emptied, at the end of the stream, on a read error, for a line whose
// first byte is NUL, and for a null stream.
bool ReadString(std::FILE* stream, AnsiString& line);
// The user's temporary directory, ending with a backslash. Raises Exception
// (SErrorTempDir) when the system cannot tell it. Named after the system call
// that it wraps, which it does not hide: with <windows.h> included, the
// system's two-argument GetTempPathA stays callable beside this one.
AnsiString GetTempPathA();
// Creates a new empty file in the temporary directory, named from at most the
// first three characters of `prefix`, a hexadecimal number and ".TMP", and
// returns its full path; deleting it is the caller's task. Raises Exception
// (SErrorTempFile) when the file cannot be created.
AnsiString CreateTempFile(AnsiString prefix);
// The number of days of the date's month; 0 for a date that decodes to no day
// (see DecodeDate).
int DaysPerMonth(const TDateTime& date);
// The number of days of `month` (1 to 12) in `year` (its low 16 bits decide
// the leap year); 0 for a month outside 1 to 12.
int DaysPerMonth(int year, int month);

// ---- Streams, byte order and global memory ---------------------------------

// Unsigned integers in a stream are stored big-endian, whatever the host's
// byte order. Reading raises EReadError when too few bytes are left, writing
// EWriteError when the stream takes fewer than offered.
unsigned short ReadWordFromStream(TStream* stream);
unsigned int ReadUIntFromStream(TStream* stream);
void SaveWordToStream(unsigned short value, TStream* stream);
void SaveUIntToStream(unsigned int value, TStream* stream);
// Converts in place between host order and big-endian order (swaps on a
// little-endian host, leaves the value alone on a big-endian one).
void CheckSwapBytes(unsigned short& value);
void CheckSwapBytes(unsigned int& value);
// Reverses the bytes in place.
void SwapBytes(unsigned short& value);
void SwapBytes(unsigned int& value);
// A new global memory block, allocated with `flags` and holding a copy of the
// whole of `source` (as large as GlobalSize reports); null for a null source
// or when the block cannot be allocated or either block cannot be locked.
// The caller owns the new block; the source is left as it was.
void* CopyGlobalMem(unsigned int flags, void* source);

// ---- Telephony dialing prefix ----------------------------------------------

// The outside-line prefix ("OutsideAccess") of the current telephony dialing
// location, read from HKEY_LOCAL_MACHINE. Raises Exception
// (SErrOnLocationInfo) when the location data are missing, and
// ERegistryException for a value of the wrong kind.
AnsiString GetCurrentOutsideAccessPrefix();

} // namespace NUtilsKx
