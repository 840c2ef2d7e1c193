// What only the platform's ini files do: writing, and lists longer than the
// first buffer.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "IniFiles.h"
#include "SysUtils.h"
#include "TestProcess.h"

namespace {

std::vector<AnsiString> Items(const TStrings& list)
{
    std::vector<AnsiString> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list[i]);
    return items;
}

AnsiString FileBytes(const AnsiString& path)
{
    std::ifstream file(path, std::ios::binary);
    return AnsiString(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(IniFileWrite, TypedValuesGoToTheFileInTheirTextForms)
{
    TTempFolder folder("dn-ini");
    TIniFile file(folder.Path() + "written.ini");
    file.WriteString("S", "Text", "plain text");
    file.WriteInteger("S", "Int", -42);
    file.WriteBool("S", "Bool", true);
    file.WriteFloat("S", "Float", 0.1);
    file.WriteDate("S", "Date", 45351.75);
    file.WriteTime("S", "Time", 45351.75);
    file.WriteDateTime("S", "Stamp", -1.25);
    file.UpdateFile();

    TStringList lines;
    file.ReadSectionValues("S", lines);
    EXPECT_EQ(Items(lines), (std::vector<AnsiString>{"Text=plain text", "Int=-42", "Bool=1", "Float=0.1",
                                                     "Date=2024-02-29", "Time=18:00:00",
                                                     "Stamp=1899-12-29 06:00:00"}));
    EXPECT_EQ(FileBytes(file.FileName()).substr(0, 25), "[S]\r\nText=plain text\r\nInt");
    EXPECT_EQ(file.ReadInteger("S", "Int", 0), -42);
    EXPECT_TRUE(file.ReadBool("S", "Bool", false));
    EXPECT_EQ(file.ReadFloat("S", "Float", 0), 0.1);
    EXPECT_EQ(file.ReadDate("S", "Date", 0), 45351);
    EXPECT_EQ(file.ReadTime("S", "Time", 0), 0.75);
    EXPECT_EQ(file.ReadDateTime("S", "Stamp", 0), -1.25);

    file.DeleteKey("S", "Int");
    EXPECT_EQ(file.ReadString("S", "Int", "gone"), "gone");
    EXPECT_EQ(file.ReadString("S", "Text", ""), "plain text");
    file.EraseSection("S");
    file.ReadSections(lines);
    EXPECT_EQ(lines.Count(), 0);
}

TEST(IniFileWrite, FailureRaises)
{
    TTempFolder folder("dn-ini");
    TIniFile file(folder.Path() + "missing\\folder\\x.ini");
    EXPECT_THROW(file.WriteString("S", "Key", "v"), Exception);
}

TEST(IniFile, SectionListsLongerThanTheFirstBuffer)
{
    TTempFolder folder("dn-ini");
    AnsiString contents = "[Big]\r\n";
    for (int i = 0; i < 600; ++i)
        contents += Format("Key%03d=value %d\r\n", i, i);
    for (int i = 0; i < 600; ++i)
        contents += Format("[Section%03d]\r\n", i);
    const AnsiString path = folder.Path() + "big.ini";
    std::ofstream(path, std::ios::binary) << contents;

    const TIniFile file(path);
    TStringList list;
    file.ReadSection("Big", list);
    ASSERT_EQ(list.Count(), 600);
    EXPECT_EQ(list[599], "Key599");
    file.ReadSectionValues("Big", list);
    ASSERT_EQ(list.Count(), 600);
    EXPECT_EQ(list[599], "Key599=value 599");
    file.ReadSections(list);
    ASSERT_EQ(list.Count(), 601);
    EXPECT_EQ(list[600], "Section599");
}

} // namespace
