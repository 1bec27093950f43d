#include "programdata/AppOptions.h"

#include <gtest/gtest.h>

#include "TempDir.h"

namespace qs::test {

TEST(AppOptions, MissingFileAndKeysGiveTheDefaults) {
    TempDir dir;
    AppOptions options;
    options.MRUFileCount = 2;
    options.AutoConnect = false;
    options.ShowUnused = true;
    options.SuppressBelowLvl = 3;
    options.Load(IniProfile(dir.File("absent.ini")));
    EXPECT_EQ(options, AppOptions{});
    EXPECT_EQ(options.MRUFileCount, 5);
    EXPECT_TRUE(options.AutoConnect);
    EXPECT_FALSE(options.ConfirmWrites);

    dir.Write("QS3X.INI", "[General]\nConfirmWrites=1\n[ParamPrint]\nShowSecLvl=1\n");
    options.Load(IniProfile(dir.File("QS3X.INI")));
    AppOptions expected;
    expected.ConfirmWrites = true;
    expected.PrintShowSecLvl = true;
    EXPECT_EQ(options, expected);  // the view's ShowSecLvl is a key of its own section
}

TEST(AppOptions, RoundTripKeepsUnrelatedLinesAndComments) {
    TempDir dir;
    const std::string before =
        "; Quillset settings\n[Instance]\nhWnd=0000ABCD\n\n[Comm]\n; lab bench\nCOM1=9600,E,7,1\n\n"
        "[General]\nMRUFileCount=4\nAutoConnect=1\nSomethingElse=keep\n";
    dir.Write("QS3X.INI", before);
    IniProfile ini(dir.File("QS3X.INI"));

    AppOptions written;
    written.MRUFileCount = 8;
    written.AutoConnect = false;
    written.ConfirmWrites = true;
    written.ShowSecLvl = true;
    written.ShowUnused = false;
    written.PrintShowSecLvl = true;
    written.SuppressBelowLvl = 2;
    written.SuppressUnused = true;
    ASSERT_TRUE(written.Save(ini));

    EXPECT_EQ(dir.Read("QS3X.INI"),
              "; Quillset settings\n[Instance]\nhWnd=0000ABCD\n\n[Comm]\n; lab bench\nCOM1=9600,E,7,1\n\n"
              "[General]\nMRUFileCount=8\nAutoConnect=0\nSomethingElse=keep\nConfirmWrites=1\n"
              "\n[ParamView]\nShowSecLvl=1\nShowUnused=0\n"
              "\n[ParamPrint]\nShowSecLvl=1\nSuppressBelowLvl=2\nSuppressUnused=1\n");

    AppOptions read;
    read.Load(ini);
    EXPECT_EQ(read, written);
}

TEST(AppOptions, ValuesOutsideTheirRangeAreBroughtIntoIt) {
    TempDir dir;
    dir.Write("QS3X.INI",
              "[General]\nMRUFileCount=12\nAutoConnect=2\nConfirmWrites=yes\n"
              "[ParamPrint]\nSuppressBelowLvl=7\nSuppressUnused=-1\n");
    AppOptions options;
    options.Load(IniProfile(dir.File("QS3X.INI")));
    EXPECT_EQ(options.MRUFileCount, AppOptions::kMaxMRUFileCount);
    EXPECT_TRUE(options.AutoConnect);     // any number but 0 is on
    EXPECT_FALSE(options.ConfirmWrites);  // not a number: the default
    EXPECT_EQ(options.SuppressBelowLvl, 0);
    EXPECT_TRUE(options.SuppressUnused);

    dir.Write("QS3X.INI", "[General]\nMRUFileCount=-3\n[ParamPrint]\nSuppressBelowLvl=-1\n");
    options.Load(IniProfile(dir.File("QS3X.INI")));
    EXPECT_EQ(options.MRUFileCount, 0);
    EXPECT_EQ(options.SuppressBelowLvl, 0);

    dir.Write("QS3X.INI", "[General]\nMRUFileCount=9\n[ParamPrint]\nSuppressBelowLvl=4\n");
    options.Load(IniProfile(dir.File("QS3X.INI")));
    EXPECT_EQ(options.MRUFileCount, 9);
    EXPECT_EQ(options.SuppressBelowLvl, 4);
}

TEST(AppOptions, SaveReportsAFileThatCannotBeWritten) {
    TempDir dir;
    dir.Write("plain-file", "");  // a file where the folder would have to be
    IniProfile ini(dir.File("plain-file/QS3X.INI"));
    EXPECT_FALSE(AppOptions{}.Save(ini));
}

}  // namespace qs::test
