#include "appmodel/common/CommDlgModel.h"

#include <gtest/gtest.h>

#include <string>

namespace qs::test {

TEST(CommDlgModel, RatesOutsideTheListShowAs38400AndAreSetSo) {
    SerialSettings s;
    s.baudRate = 57600;
    int baud = CommDlgModel::BaudIndex(s.baudRate);
    EXPECT_STREQ(CommDlgModel::BaudTexts()[static_cast<size_t>(baud)], "38400");
    ASSERT_TRUE(CommDlgModel::Apply(baud, CommDlgModel::FormatIndex(s), s));
    EXPECT_EQ(s.baudRate, 38400u);
}

TEST(CommDlgModel, SevenBitsEvenWithTwoStopBitsComesBackWithOne) {
    SerialSettings s;
    s.baudRate = 9600;
    s.byteSize = 7;
    s.parity = EVENPARITY;
    s.stopBits = TWOSTOPBITS;
    int format = CommDlgModel::FormatIndex(s);
    EXPECT_STREQ(CommDlgModel::FormatTexts()[static_cast<size_t>(format)], "7 Bits Even");
    ASSERT_TRUE(CommDlgModel::Apply(CommDlgModel::BaudIndex(s.baudRate), format, s));
    EXPECT_EQ(s.byteSize, 7);
    EXPECT_EQ(s.parity, EVENPARITY);
    EXPECT_EQ(s.stopBits, ONESTOPBIT);
    EXPECT_EQ(s.baudRate, 9600u);
}

TEST(CommDlgModel, MarkAndSpaceParityShowAsNoneAndBecomeNone) {
    for (uint8_t parity : {MARKPARITY, SPACEPARITY}) {
        for (uint8_t bits : {7, 8}) {
            SerialSettings s;
            s.byteSize = bits;
            s.parity = parity;
            int format = CommDlgModel::FormatIndex(s);
            EXPECT_EQ(std::string(CommDlgModel::FormatTexts()[static_cast<size_t>(format)]),
                      bits == 7 ? "7 Bits None" : "8 Bits None");
            ASSERT_TRUE(CommDlgModel::Apply(CommDlgModel::BaudIndex(s.baudRate), format, s));
            EXPECT_EQ(s.parity, NOPARITY);
            EXPECT_EQ(s.byteSize, bits);
        }
    }
}

TEST(CommDlgModel, EveryChoiceShowsAgainAsItself) {
    // Whatever the user picks must be what the dialog shows the next time it opens.
    for (int baud = 0; baud < CommDlgModel::kBaudCount; ++baud) {
        for (int format = 0; format < CommDlgModel::kFormatCount; ++format) {
            SerialSettings s;
            s.byteSize = 5;
            s.parity = MARKPARITY;
            s.stopBits = ONE5STOPBITS;
            ASSERT_TRUE(CommDlgModel::Apply(baud, format, s));
            EXPECT_EQ(std::to_string(s.baudRate), CommDlgModel::BaudTexts()[static_cast<size_t>(baud)]);
            EXPECT_EQ(CommDlgModel::BaudIndex(s.baudRate), baud);
            EXPECT_EQ(CommDlgModel::FormatIndex(s), format) << "format " << format;
        }
    }
}

TEST(CommDlgModel, NoChoiceLeavesTheSettingsAlone) {
    SerialSettings s;
    s.baudRate = 57600;
    s.byteSize = 7;
    s.parity = SPACEPARITY;
    const SerialSettings before = s;
    EXPECT_FALSE(CommDlgModel::Apply(-1, 3, s));
    EXPECT_FALSE(CommDlgModel::Apply(2, -1, s));
    EXPECT_FALSE(CommDlgModel::Apply(7, 3, s));
    EXPECT_FALSE(CommDlgModel::Apply(2, 7, s));
    EXPECT_EQ(s, before);
}

}  // namespace qs::test
