#include "TestProcess.h"

#include <gtest/gtest.h>

#include "FilePaths.h"
#include "ProcessArgs.h"

int RunToEnd(const AnsiString& program, const std::vector<std::string>& arguments,
             const TChildProcess::TOptions& options)
{
    TChildProcess child(program, arguments, options);
    int exitCode = -1;
    return child.WaitForExit(std::chrono::seconds(20), exitCode) ? exitCode : -1;
}

void ExpectEndsWithZero(TChildProcess& child)
{
    int exitCode = -1;
    ASSERT_TRUE(child.WaitForExit(std::chrono::seconds(20), exitCode)) << "the process did not end";
    EXPECT_EQ(exitCode, 0);
}

AnsiString BinaryFolder()
{
    return ExtractFilePath(ExecutableFileName());
}

AnsiString ProgramPath()
{
#ifdef _WIN32
    return BinaryFolder() + "deployNotice.exe";
#else
    return BinaryFolder() + "tested/deployNotice";
#endif
}

#ifndef _WIN32
AnsiString PackagedProgramPath()
{
    return BinaryFolder() + "deployNotice";
}
#endif
