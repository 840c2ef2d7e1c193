#pragma once
// Consts: the message table of the framework layer and of the program.

#define DN_MESSAGE(name, text) inline constexpr char name[] = text;
#include "Consts.inc"
#undef DN_MESSAGE
