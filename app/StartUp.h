#pragma once
// What a start of the program does, decided from its arguments.
#include "AnsiString.h"
#include "ProcessArgs.h"

enum class TRunKind { Terminate, FinishInstallation, Reboot, ProcessPackage, Progress, Usage, Window };

struct TRunChoice {
    TRunKind Kind = TRunKind::Window;
    AnsiString Time;        // Reboot: argument 2
    AnsiString PackageName; // ProcessPackage: argument 2, as typed
    AnsiString Action;      // ProcessPackage: argument 3, lower-cased
    AnsiString Percent;     // Progress: argument 2, as typed
};

extern const char UsageText[];

// True when one of arguments 1 to n is "-" or "/" followed by exactly `name`,
// compared without regard to case in the user's locale (both in UTF-8).
bool FindSwitch(const TArgumentList& arguments, const AnsiString& name);

// Tests the switches in their fixed order (terminate, finish, reboot, package,
// progress, "?", help); the first one present decides. None present: the
// window run.
TRunChoice ChooseRun(const TArgumentList& arguments);
