#include <gtest/gtest.h>

#include <map>
#include <string>

#include "Language.h"

namespace {

TEST(LanguageTag, FromWindowsAndPosixNames)
{
    const struct {
        const char* Name;
        const char* Tag;
    } cases[] = {
        {"de-DE", "de-DE"},
        {"de_CH.UTF-8", "de-CH"},
        {"DE_ch", "de-CH"},
        {"pt_BR.ISO-8859-1@euro", "pt-BR"},
        {"fr", "fr"},
        {"sr_RS@latin", "sr-RS"},
        {"sr-Latn-RS", "sr-RS"},
        {"zh-Hant", "zh"},
        {"es-419", "es-419"},
        {"ca-ES-valencia", "ca-ES"},
        {"ast_ES", "ast-ES"},
        {"de-Schweiz", "de"},
        {"C", ""},
        {"C.UTF-8", ""},
        {"POSIX", ""},
        {"", ""},
        {"German", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageTagOf(c.Name), c.Tag) << c.Name;
}

TEST(LanguageTag, FromTheEnvironment)
{
    const struct {
        std::map<std::string, std::string> Variables;
        const char* Tag;
    } cases[] = {
        {{}, ""},
        {{{"LANG", "de_CH.UTF-8"}}, "de-CH"},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}, "fr-FR"},
        {{{"LC_MESSAGES", "fr_FR.UTF-8"}, {"LC_ALL", "it_IT.UTF-8"}}, "it-IT"},
        {{{"LANGUAGE", "pt_BR:pt:en"}, {"LC_ALL", "de_DE.UTF-8"}}, "pt-BR"},
        {{{"LANGUAGE", "de"}, {"LC_ALL", "C"}}, "de"},
        {{{"LANGUAGE", ""}, {"LANG", "es_ES.UTF-8"}}, "es-ES"},
        // The first variable that is set decides, also when it names no language.
        {{{"LC_ALL", "C.UTF-8"}, {"LANG", "de_DE.UTF-8"}}, ""},
    };
    for (const auto& c : cases) {
        std::string trace;
        for (const auto& [name, value] : c.Variables)
            trace += name + "=" + value + " ";
        EXPECT_EQ(LanguageFromEnvironment([&](const char* name) {
                      const auto found = c.Variables.find(name);
                      return found == c.Variables.end() ? nullptr : found->second.c_str();
                  }),
                  c.Tag)
            << trace;
    }
}

} // namespace
