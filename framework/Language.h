#pragma once
// The user's language as a short tag: "ll" or "ll-RR", the language in lower
// case (two or three letters) and the region in upper case (two letters or
// three digits), for example "de", "de-CH", "pt-BR", "es-419". The empty tag
// means that no language is chosen.
#include <functional>
#include <string_view>

#include "AnsiString.h"

// The tag of a language name as Windows ("de-CH", "sr-Latn-RS") or a POSIX
// locale ("de_CH.UTF-8", "sr_RS@latin") writes it, in any case: a script
// between language and region is dropped, and so is whatever follows the
// region. Empty for "C", "POSIX" and anything that starts without a
// language.
AnsiString LanguageTagOf(std::string_view name);

// The language that a POSIX environment asks for: the first entry of
// LANGUAGE when it is set and not empty (even in the C locale), else the
// first of LC_ALL, LC_MESSAGES and LANG that is set and not empty. `variable`
// gives a variable's value, or null when it is not set.
AnsiString LanguageFromEnvironment(const std::function<const char*(const char*)>& variable);

// The user's display language, asked of the platform at each call: on Windows
// the user's UI language, on Linux the environment's as above. The native
// build of the portable code has none.
AnsiString UserLanguage();
