#include "link/CommSettingsText.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "SerialSettingsOf.h"

namespace qs::test {

namespace {
constexpr auto Make = SerialSettingsOf;
}  // namespace

TEST(CommSettingsText, ParsesTheTextsAPortCanUse) {
    EXPECT_EQ(ParseCommSettings("38400,N,8,1"), Make(38400, 8, NOPARITY, ONESTOPBIT));
    EXPECT_EQ(ParseCommSettings("9600,e,7,2"), Make(9600, 7, EVENPARITY, TWOSTOPBITS));
    EXPECT_EQ(ParseCommSettings(" 1200 , O , 8 , 1 "), Make(1200, 8, ODDPARITY, ONESTOPBIT));
    EXPECT_EQ(ParseCommSettings("600,M,5,1"), Make(600, 5, MARKPARITY, ONESTOPBIT));
    EXPECT_EQ(ParseCommSettings("115200,S,6,2"), Make(115200, 6, SPACEPARITY, TWOSTOPBITS));
    EXPECT_EQ(ParseCommSettings("57600,n,8,1"), Make(57600, 8, NOPARITY, ONESTOPBIT));
    EXPECT_EQ(ParseCommSettings(kDefaultCommText), SerialSettings{});
}

TEST(CommSettingsText, RefusesTextsThatCannotBeApplied) {
    for (const char* bad : {
             "", "38400", "38400,N,8", "38400,N,8,1,1", "38400,N,8,1.5", "38400,N,8,1,", ",N,8,1",
             "38400,X,8,1", "38400,NN,8,1", "38400,,8,1", "38400,N,9,1", "38400,N,4,1", "38400,N,8,0",
             "38400,N,8,3", "0,N,8,1", "12345,N,8,1", "-9600,N,8,1", "+9600,N,8,1", "9600.5,N,8,1",
             "99999999999,N,8,1", "9600 0,N,8,1", "baud=9600 parity=N data=8 stop=1",
             // Longer than the profile functions read, although the fields themselves are good.
             "9600,N,8,                                 1",
         }) {
        EXPECT_EQ(ParseCommSettings(bad), std::nullopt) << '"' << bad << '"';
    }
}

TEST(CommSettingsText, FormatsWhatItParsesAndKeepsTwoStopBits) {
    EXPECT_EQ(FormatCommSettings(Make(9600, 7, EVENPARITY, TWOSTOPBITS)), "9600,E,7,2");
    EXPECT_EQ(FormatCommSettings(SerialSettings{}), "38400,N,8,1");
    for (uint32_t baud : {600u, 19200u, 38400u, 230400u})
        for (uint8_t bits = 5; bits <= 8; ++bits)
            for (uint8_t parity = NOPARITY; parity <= SPACEPARITY; ++parity)
                for (uint8_t stop : {ONESTOPBIT, TWOSTOPBITS}) {
                    SerialSettings s = Make(baud, bits, parity, stop);
                    auto text = FormatCommSettings(s);
                    ASSERT_TRUE(text.has_value());
                    EXPECT_EQ(ParseCommSettings(*text), s) << *text;
                }
    // Settings no port can take are not written at all, and a bad parity code never
    // reaches the letter table.
    EXPECT_EQ(FormatCommSettings(Make(9600, 8, 5, ONESTOPBIT)), std::nullopt);
    EXPECT_EQ(FormatCommSettings(Make(9600, 8, 255, ONESTOPBIT)), std::nullopt);
    EXPECT_EQ(FormatCommSettings(Make(9600, 8, NOPARITY, ONE5STOPBITS)), std::nullopt);
    EXPECT_EQ(FormatCommSettings(Make(9600, 9, NOPARITY, ONESTOPBIT)), std::nullopt);
    EXPECT_EQ(FormatCommSettings(Make(0, 8, NOPARITY, ONESTOPBIT)), std::nullopt);
}

TEST(CommSettingsText, ReadsAndWritesTheCommSectionOfTheProfile) {
    TempDir dir;
    dir.Write("QS3X.INI",
              "; serial lines\n[Comm]\nCOM1=9600,E,7,1\ncom2 = 19200,N,8,2\nCOM3=38400,N,8,1.5\n"
              "COM4=hello\n[Other]\nCOM5=600,N,8,1\n");
    IniProfile ini(dir.File("QS3X.INI"));
    EXPECT_EQ(ReadCommSettings(ini, 1), Make(9600, 7, EVENPARITY, ONESTOPBIT));
    EXPECT_EQ(ReadCommSettings(ini, 2), Make(19200, 8, NOPARITY, TWOSTOPBITS));
    EXPECT_EQ(ReadCommSettings(ini, 3), std::nullopt);
    EXPECT_EQ(ReadCommSettings(ini, 4), std::nullopt);
    EXPECT_EQ(ReadCommSettings(ini, 5), SerialSettings{});  // missing: the default text
    EXPECT_EQ(ReadCommSettings(ini, 99), SerialSettings{});
    EXPECT_EQ(ReadCommSettings(ini, 0), std::nullopt);
    EXPECT_EQ(ReadCommSettings(ini, 100), std::nullopt);
    EXPECT_EQ(ReadCommSettings(ini, -1), std::nullopt);

    ASSERT_TRUE(WriteCommSettings(ini, 3, Make(4800, 8, ODDPARITY, TWOSTOPBITS)));
    EXPECT_FALSE(WriteCommSettings(ini, 100, SerialSettings{}));
    EXPECT_FALSE(WriteCommSettings(ini, 0, SerialSettings{}));
    EXPECT_FALSE(WriteCommSettings(ini, 6, Make(9600, 8, 7, ONESTOPBIT)));
    EXPECT_EQ(dir.Read("QS3X.INI"),
              "; serial lines\n[Comm]\nCOM1=9600,E,7,1\ncom2 = 19200,N,8,2\nCOM3=4800,O,8,2\n"
              "COM4=hello\n[Other]\nCOM5=600,N,8,1\n");
    EXPECT_EQ(ReadCommSettings(ini, 3), Make(4800, 8, ODDPARITY, TWOSTOPBITS));
}

TEST(CommSettingsText, ComPortNumbersAreOneToNinetyNine) {
    EXPECT_EQ(CommKey(1), "COM1");
    EXPECT_EQ(CommKey(99), "COM99");
    EXPECT_EQ(CommKey(0), "");
    EXPECT_EQ(CommKey(100), "");
    EXPECT_EQ(CommKey(-3), "");
}

}  // namespace qs::test
