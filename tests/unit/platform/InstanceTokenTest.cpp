#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "platform/IniProfile.h"
#include "platform/InstanceToken.h"

namespace qs::test {

TEST(InstanceToken, WrittenAsEightUpperCaseHexDigitsBesideTheOtherSettings) {
    TempDir dir;
    dir.Write("QS3X.INI", "; kept\n[General]\nAutoConnect=1\n[Instance]\nhWnd=00000000\n");
    IniProfile ini(dir.File("QS3X.INI"));
    ASSERT_TRUE(InstanceToken::Write(ini, 0x00BEEF1Au));
    EXPECT_EQ(dir.Read("QS3X.INI"), "; kept\n[General]\nAutoConnect=1\n[Instance]\nhWnd=00BEEF1A\n");
    EXPECT_EQ(InstanceToken::Read(ini), 0x00BEEF1Au);

    EXPECT_EQ(InstanceToken::Format(0x1Au), "0000001A");
    EXPECT_EQ(InstanceToken::Format(0xFFFFFFFFu), "FFFFFFFF");
    ASSERT_TRUE(InstanceToken::Write(ini));
    EXPECT_EQ(InstanceToken::Read(ini), static_cast<uint32_t>(::getpid()));
}

TEST(InstanceToken, ReadBackBoundedAndOnlyAsHexadecimal) {
    TempDir dir;
    IniProfile ini(dir.File("QS3X.INI"));
    EXPECT_EQ(InstanceToken::Read(ini), std::nullopt) << "no file";
    struct Case {
        const char* text;
        std::optional<uint32_t> want;
    };
    const Case cases[] = {
        {"0", std::nullopt},
        {"00000000", std::nullopt},
        {"", std::nullopt},
        {"zz", std::nullopt},
        {"0x", std::nullopt},
        {"0x1a2B", 0x1A2Bu},
        {"  00001a2bzz", 0x1A2Bu},
        {"FFFFFFFF", 0xFFFFFFFFu},
        {"100000000", std::nullopt},            // wider than 32 bits
        {"000000000000000100000000", 1u},       // only the first 16 characters count
        {"-5", std::nullopt},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ini.WriteString("instance", "HWND", std::string(c.text)));
        EXPECT_EQ(InstanceToken::Read(ini), c.want) << '"' << c.text << '"';
    }
}

}  // namespace qs::test
