#pragma once
// NUtilsKx: the general utility library.
#include <cstdio>

#include "AnsiString.h"
#include "DateTime.h"
#include "Streams.h"

namespace NUtilsKx {

// Appends a backslash unless the path is empty or already ends with one.
void AddPathDelimiter(AnsiString& path);
// Removes one trailing backslash, except from a path shorter than two
// characters or a drive root such as "C:\".
void RemovePathDelimiter(AnsiString& path);
// Gives a top-level window no taskbar button: hidden, made a tool window
// (not an application window), shown again.
void RemoveWindowTaskbar(void* window);

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
