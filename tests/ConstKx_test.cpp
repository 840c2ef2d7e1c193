#include <gtest/gtest.h>

#include "ConstKx.h"

namespace {

TEST(ConstKx, MessagesCarryTheirGermanTexts)
{
    using namespace NUtilsKx;
    EXPECT_EQ(LoadResString(SInvalidHexString), "Ungültiger Hexstring");
    EXPECT_EQ(LoadResString(SErrorTempDir), "Fehler beim Ermitteln des Windows Temporärverzeichnisses");
    EXPECT_EQ(LoadResString(SNoListNode), "Knoten ist nicht vom Typ TListNodeKx");
    EXPECT_EQ(static_cast<unsigned>(SNoBinTreeNode), 65358u);
}

} // namespace
