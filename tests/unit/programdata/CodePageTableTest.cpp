#include "programdata/CodePageTable.h"

#include <gtest/gtest.h>

#include <string>

namespace qs::test {

TEST(CodePageTable, ChineseRowAndFallbackForUnknownIndexes) {
    const CodePageRow& chinese = CodePageTable::Row(5);
    EXPECT_STREQ(chinese.faceName, "SimSun");
    EXPECT_EQ(chinese.charset, 134);
    EXPECT_EQ(chinese.pixelHeight, 12);
    EXPECT_EQ(chinese.codePage, 936);
    for (int index : {6, 9, -1, 1 << 30, -(1 << 30)}) {
        EXPECT_EQ(&CodePageTable::Row(index), &CodePageTable::Row(0)) << index;
        EXPECT_STREQ(CodePageTable::Row(index).faceName, "Kez Bold");
    }
    // Every row but the Chinese one is a single-byte page drawn at the default size.
    for (int index = 0; index < 5; ++index) {
        EXPECT_EQ(CodePageTable::Row(index).charset, 0) << index;
        EXPECT_EQ(CodePageTable::Row(index).pixelHeight, 0) << index;
        EXPECT_NE(std::string(CodePageTable::Row(index).listText).find(std::to_string(CodePageTable::Row(index).codePage)),
                  std::string::npos)
            << "list text names its code page";
    }
}

}  // namespace qs::test
