#pragma once
// The framework's date-time value: whole days since 30 December 1899, and the
// time of day as the fraction.
using TDateTime = double;

// Calendar decoding (proleptic Gregorian calendar). The value is taken to the
// nearest whole millisecond and then to whole days toward zero, so -29.5 lies
// on 1 December 1899. A day before 1 January of year 1 or after 31 December
// 65535, and a value that is not a finite number, decode as year 0, month 0,
// day 0.
void DecodeDate(TDateTime date, unsigned short& year, unsigned short& month, unsigned short& day);
