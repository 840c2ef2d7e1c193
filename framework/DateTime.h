#pragma once
// The framework's date-time value: whole days since 30 December 1899, and the
// time of day as the fraction.
using TDateTime = double;
