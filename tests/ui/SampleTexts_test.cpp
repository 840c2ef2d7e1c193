// The sample ini file's texts in the message window's own labels, in every
// language of the file, with a long package name and the longest countdown
// filled in: each must take at most the labels' two lines, and fit their
// height, in labels a tenth narrower than they are. Prints each language's
// widest and highest text, which scripts/measure-texts.sh collects.
//
// Wine draws a text by the one font that it selected, where Windows links
// in the fonts of other scripts; under Wine the script measures each
// language with the font that stands in for the window's there, naming the
// languages in DN_TEXTS_LANGUAGES (blank-separated, "en" for [Strings]).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "Channel.h"
#include "FormView.h"
#include "Frm_main.h"
#include "IniFiles.h"
#include "TestProcess.h"
#include "Unt_settings.h"

namespace {

TEST(SampleTexts, EveryTextFitsTwoLinesOfTheLabelsWithATenthToSpare)
{
    const char* named = std::getenv("DN_TEXTS_LANGUAGES");
    const std::string languages = " " + std::string(named != nullptr ? named : "") + " ";
#ifdef _WIN32
    if (named == nullptr)
        GTEST_SKIP() << "under Wine each language takes its font: scripts/measure-texts.sh";
#endif
    const AnsiString path = AnsiString(DN_RES_DIR) + "deployNotice.ini";
    std::unique_ptr<TFrmMain> form;
    {
        // The settings that the window opens with; the file's own are read
        // one language at a time below.
        const TSettings besideTheTests;
        form = std::make_unique<TFrmMain>(nullptr, std::make_unique<TChannelReader>(UniqueChannelName()));
    }
    form->Tim1->SetEnabled(false);
    form->Show();
    ReadForm(*form);
    TLabel& upper = *form->LblMessage1;
    const TBounds label = BoundsOnForm(upper);
    const int width = label.Width * 9 / 10;

    TStringList sections;
    TIniFile(path).ReadSections(sections);
    for (int i = 0; i < sections.Count(); ++i) {
        const AnsiString language = sections[i] == "Strings" ? "en" : sections[i].substr(sections[i].find('.') + 1);
        if (languages != "  " && languages.find(" " + language + " ") == std::string::npos)
            continue;
        const TSettings settings(path, sections[i] == "Strings" ? "" : language);
        const AnsiString package = "Adobe Acrobat Reader DC";
        TTextLayout most;
        for (const AnsiString& text :
             {settings.GetInspectMessage(), settings.GetWaitCloseMessage(), settings.GetFinishInstallationMessage(),
              settings.GetInstallMessage(package), settings.GetUpgradeMessage(package),
              settings.GetRemoveMessage(package), settings.GetRebootMessageTime(300), settings.GetRebootMessage()}) {
            const TTextLayout laidOut = LayOut(upper, text, width);
            EXPECT_LE(laidOut.Lines, 2) << language << ": " << text;
            EXPECT_LE(laidOut.Width, width) << language << ": " << text;
            EXPECT_LE(laidOut.Height, label.Height) << language << ": " << text;
            most = {std::max(most.Lines, laidOut.Lines), std::max(most.Width, laidOut.Width),
                    std::max(most.Height, laidOut.Height)};
        }
        std::printf("text size %-6s widest %3d of %3d px (%3d %% of the label), highest %2d of %2d px\n",
                    language.c_str(), most.Width, width, most.Width * 100 / label.Width, most.Height, label.Height);
    }
}

} // namespace
