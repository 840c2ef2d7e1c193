#pragma once
// The real window run as the end-to-end tests drive it on every platform:
// the program copied into a folder of its own with a test ini file, read back
// as a screen reader and the desktop see it (Desktop.h), and driven by sender
// runs and by commands written straight into the channel.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "Channel.h"
#include "Desktop.h"
#include "SysUtils.h"
#include "TestProcess.h"

using namespace std::chrono_literals;

inline const char TestIni[] = "[Strings]\r\n"
                       "WindowsCaption=Software deployment\r\n"
                       "InspectMessage=Inspecting\r\n"
                       "WaitCloseMessage=Please wait\r\n"
                       "FinishInstallationMessage=Finished &now\r\n"
                       "InstallMessage=Installing %s\r\n"
                       "UpgradeMessage=Upgrading %s\r\n"
                       "RemoveMessage=Removing %s\r\n"
                       "RebootMessageTime=Reboot in %s s\r\n"
                       "RebootMessage=Reboot now\r\n";

// Texts in three languages, German without its lower line.
inline const char LanguagesIni[] = "[Strings]\r\n"
                                   "WindowsCaption=Software deployment\r\n"
                                   "InspectMessage=Inspecting\r\n"
                                   "WaitCloseMessage=Please wait\r\n"
                                   "InstallMessage=Installing %s\r\n"
                                   "[Strings.fr]\r\n"
                                   "WindowsCaption=D\xE9ploiement\r\n"
                                   "InspectMessage=Inspection\r\n"
                                   "WaitCloseMessage=Patientez\r\n"
                                   "InstallMessage=Installation de %s\r\n"
                                   "[Strings.de]\r\n"
                                   "WindowsCaption=Softwareverteilung\r\n"
                                   "InspectMessage=Ben\xF6tigte Software wird ermittelt\r\n"
                                   "InstallMessage=%s wird installiert\r\n";

// Whether `seen` holds only texts of `expected`, each once, in its order.
inline bool InOrder(const std::vector<std::string>& seen, const std::vector<std::string>& expected)
{
    auto next = expected.begin();
    for (const std::string& text : seen) {
        next = std::find(next, expected.end(), text);
        if (next == expected.end())
            return false;
        ++next;
    }
    return true;
}

class WindowRun : public testing::Test {
protected:
    void SetUp() override
    {
        const AnsiString program = ProgramPath();
        Program = Folder.Path() + program.substr(program.find_last_of("\\/") + 1);
        std::filesystem::copy_file(program, Program);
    }

    void WriteIni(const AnsiString& bytes) { Folder.Write("deployNotice.ini", bytes); }

    std::unique_ptr<TChildProcess> Start(const std::vector<std::string>& arguments = {})
    {
        return std::make_unique<TChildProcess>(Program, arguments);
    }

    static TWindowSeen WaitForWindow(const TChildProcess& child)
    {
        TWindowSeen seen;
        WaitUntil([&] { return (seen = ReadWindow(child)).Found; }, 30s);
        return seen;
    }

    void Send(const std::vector<std::string>& arguments) { EXPECT_EQ(RunToEnd(Program, arguments), 0); }

    static bool UpperBecomes(const TChildProcess& child, const std::string& text,
                             std::chrono::milliseconds timeout = 10s)
    {
        return WaitUntil([&] { return ReadWindow(child).Upper == text; }, timeout);
    }

    // The upper line's texts as they come (a read while the reader is busy
    // may find no window: skipped), until `last`; "Inspecting" left out.
    static std::vector<std::string> UpperTexts(const TChildProcess& child, const std::string& last,
                                               std::chrono::milliseconds timeout = 10s)
    {
        std::vector<std::string> texts;
        WaitUntil([&] {
            const TWindowSeen seen = ReadWindow(child);
            if (seen.Found && seen.Upper != "Inspecting" && (texts.empty() || texts.back() != seen.Upper))
                texts.push_back(seen.Upper);
            return seen.Upper == last;
        }, timeout);
        return texts;
    }

    // Starts a window run and at once sends a package command for each name,
    // one sender run after the other, as a script does; the upper line's
    // texts after "Inspecting" as they came. Nothing when Wine ended the
    // window run or a sender before its main ran: the start is repeated.
    std::optional<std::vector<std::string>> StartAndSendAtOnce(const std::vector<std::string>& names)
    {
        auto window = Start();
        for (const std::string& name : names)
            if (RunToEnd(Program, {"-package", name, "install"}) != 0)
                return std::nullopt;
        int exitCode = -1;
        if (!WaitForWindow(*window).Found && window->WaitForExit(0ms, exitCode))
            return std::nullopt;
        return UpperTexts(*window, "Installing " + names.back());
    }

    TTempFolder Folder{"window"};
    AnsiString Program;
};
