#include "platform/IniProfile.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "TempDir.h"

namespace qs::test {

TEST(IniProfile, ReadsLikeTheProfileFunctions) {
    TempDir dir;
    dir.Write("QS3X.INI",
              "; settings\r\n[comm]\r\nCOM1 = 9600,E,7,1 \r\n\r\n[General]\nMRUFileCount=8\nAutoConnect=x1\n"
              "Quoted=\"  a b \"\nBig=99999999999\n");
    IniProfile ini(dir.File("QS3X.INI"));
    EXPECT_EQ(ini.GetString("Comm", "com1", "38400,N,8,1"), "9600,E,7,1");
    EXPECT_EQ(ini.GetString("Comm", "COM2", "38400,N,8,1"), "38400,N,8,1");
    EXPECT_EQ(ini.GetString("Missing", "COM1", "d"), "d");
    EXPECT_EQ(ini.GetString("General", "Quoted"), "  a b ");
    EXPECT_EQ(ini.GetInt("GENERAL", "mrufilecount", 5), 8);
    EXPECT_EQ(ini.GetInt("General", "AutoConnect", 1), 1);
    EXPECT_EQ(ini.GetInt("General", "Big", 3), 3);
    EXPECT_EQ(ini.GetInt("General", "Nothing", -4), -4);
}

TEST(IniProfile, WriteKeepsOtherLinesAndComments) {
    TempDir dir;
    const std::string original = "; keep me\n[Comm]\nCOM1=9600,E,7,1\n; and me\n\n[General]\nConfirmWrites=0\n";
    dir.Write("QS3X.INI", original);
    IniProfile ini(dir.File("QS3X.INI"));
    ASSERT_TRUE(ini.WriteString("comm", "com1", std::string("19200,N,8,2")));
    ASSERT_TRUE(ini.WriteString("Comm", "COM3", std::string("600,O,8,1")));
    ASSERT_TRUE(ini.WriteInt("Instance", "hWnd", 7));
    EXPECT_EQ(dir.Read("QS3X.INI"),
              "; keep me\n[Comm]\nCOM1=19200,N,8,2\n; and me\nCOM3=600,O,8,1\n\n[General]\nConfirmWrites=0\n"
              "\n[Instance]\nhWnd=7\n");
    ASSERT_TRUE(ini.WriteString("General", "ConfirmWrites", std::nullopt));
    EXPECT_EQ(ini.GetString("General", "ConfirmWrites", "gone"), "gone");
    EXPECT_EQ(ini.GetString("Comm", "COM3"), "600,O,8,1");
}

TEST(IniProfile, KeysBeforeAnySectionAreNoneAndTheFirstOfTwinsWins) {
    TempDir dir;
    dir.Write("QS3X.INI", "Loose=1\n[A]\nK=first\n[a]\nk=second\n[]\nLoose=2\n");
    IniProfile ini(dir.File("QS3X.INI"));
    EXPECT_EQ(ini.GetString("A", "k"), "first");
    EXPECT_EQ(ini.GetString("", "Loose"), "2");
}

// The file is kept between look-ups; a change made by another program (or another profile
// object) is seen at the next one.
TEST(IniProfile, SeesChangesMadeByOthers) {
    TempDir dir;
    dir.Write("QS3X.INI", "[General]\nX=1\n");
    IniProfile ini(dir.File("QS3X.INI"));
    IniProfile other(dir.File("QS3X.INI"));
    EXPECT_EQ(ini.GetString("General", "X"), "1");
    ASSERT_TRUE(other.WriteString("General", "X", std::string("22")));
    EXPECT_EQ(ini.GetString("General", "X"), "22");
    dir.Write("QS3X.INI", "[General]\nX=333\n");
    EXPECT_EQ(ini.GetString("General", "X"), "333");
    ASSERT_TRUE(ini.WriteString("General", "Y", std::string("4")));
    EXPECT_EQ(dir.Read("QS3X.INI"), "[General]\nX=333\nY=4\n");
    std::remove(dir.File("QS3X.INI").c_str());
    EXPECT_EQ(ini.GetString("General", "X", "gone"), "gone");
}

TEST(IniProfile, WritingCreatesFileAndFolders) {
    TempDir dir;
    IniProfile ini(dir.File("a/b/QS3X.INI"));
    EXPECT_EQ(ini.GetString("General", "x", "def"), "def");
    ASSERT_TRUE(ini.WriteString("General", "x", std::string("1")));
    EXPECT_EQ(ini.GetString("General", "X"), "1");
}

TEST(IniProfile, UnwritableFileFailsAndKeepsOldContent) {
    TempDir dir;
    IniProfile ini(dir.File("missing-dir-is-a-file/QS3X.INI"));
    dir.Write("missing-dir-is-a-file", "not a folder");
    EXPECT_FALSE(ini.WriteString("General", "x", std::string("1")));
    EXPECT_EQ(dir.Read("missing-dir-is-a-file"), "not a folder");
}

}  // namespace qs::test

namespace qs::test {

TEST(IniProfileBound, AFileLongerThanTheBoundIsReadInPartAndNeverWrittenBack) {
    struct Row {
        size_t size;  // of the whole file
        bool cut;
        const char* last;  // what the key of its last line reads as
    };
    const Row rows[] = {{IniProfile::kMaxFileBytes, false, "tail"},
                        {IniProfile::kMaxFileBytes + 1, true, "tail"},  // only its last line end is past
                        {IniProfile::kMaxFileBytes + 4096, true, "unseen"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.size);
        TempDir dir;
        const std::string tail = "[Last]\nKey=tail\n";
        std::string text = "[Instance]\nhWnd=1\n";
        while (text.size() + 81 + tail.size() <= row.size) text += "; " + std::string(78, 'x') + "\n";
        text += ";" + std::string(row.size - text.size() - tail.size() - 2, 'y') + "\n";
        const std::string original = text + tail;
        ASSERT_EQ(original.size(), row.size);
        dir.Write("QS3X.INI", original);
        IniProfile ini(dir.File("QS3X.INI"));
        EXPECT_EQ(ini.GetString("Instance", "hWnd"), "1");
        EXPECT_EQ(ini.GetString("Last", "Key", "unseen"), row.last);
        errno = 0;
        EXPECT_EQ(ini.WriteString("Instance", "hWnd", std::string("2")), !row.cut);
        if (row.cut) {
            EXPECT_EQ(errno, EFBIG);
            EXPECT_EQ(dir.Read("QS3X.INI"), original);
        } else {
            EXPECT_EQ(ini.GetString("Instance", "hWnd"), "2");
            EXPECT_EQ(ini.GetString("Last", "Key"), "tail");
        }
    }
}

}  // namespace qs::test
