#pragma once
// The text forms in which ini files keep floats, dates and times (IniFiles.h
// lists them). The readers accept exactly these forms and nothing around them.
#include "AnsiString.h"
#include "DateTime.h"

AnsiString FloatToIniText(double value);
bool TryIniTextToFloat(const AnsiString& text, double& value);

// A date-time value before 30 December 1899 keeps its time of day as the
// fraction counted away from zero (-1.25 is 29 December 1899, 06:00).
AnsiString DateToIniText(TDateTime value);
AnsiString TimeToIniText(TDateTime value);
AnsiString DateTimeToIniText(TDateTime value);
bool TryIniTextToDate(const AnsiString& text, TDateTime& value);
bool TryIniTextToTime(const AnsiString& text, TDateTime& value);
bool TryIniTextToDateTime(const AnsiString& text, TDateTime& value);
