#pragma once
// Single-byte text in the ANSI code page (1252 on Windows). Positions that the
// framework's string routines take count from 1 where they say so; offsets
// returned by the utility library count from 0.
#include <string>

using AnsiString = std::string;
