// Our own reader offers no writing: each writing operation says so instead of
// doing nothing.
#include <gtest/gtest.h>

#include "IniFiles.h"
#include "TempFolder.h"
#include "SysUtils.h"

namespace {

TEST(IniFile, WritingRaisesAndLeavesTheFileAlone)
{
    TTempFolder folder;
    const AnsiString path = folder.Write("[S]\r\nKey=v\r\n");
    TIniFile file(path);
    EXPECT_THROW(file.WriteString("S", "Key", "x"), Exception);
    EXPECT_THROW(file.WriteInteger("S", "Key", 1), Exception);
    EXPECT_THROW(file.WriteBool("S", "Key", true), Exception);
    EXPECT_THROW(file.WriteFloat("S", "Key", 1.5), Exception);
    EXPECT_THROW(file.WriteDate("S", "Key", 1), Exception);
    EXPECT_THROW(file.WriteDateTime("S", "Key", 1), Exception);
    EXPECT_THROW(file.WriteTime("S", "Key", 0.5), Exception);
    EXPECT_THROW(file.EraseSection("S"), Exception);
    EXPECT_THROW(file.DeleteKey("S", "Key"), Exception);
    try {
        file.WriteString("S", "Key", "x");
    } catch (const Exception& error) {
        EXPECT_NE(error.Message.find("not supported"), AnsiString::npos) << error.Message;
    }
    EXPECT_EQ(file.ReadString("S", "Key", ""), "v");
}

} // namespace
