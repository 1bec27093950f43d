#include <gtest/gtest.h>

#include "TempDir.h"
#include "emulators/farview/core/FarviewSettings.h"

namespace qs::farview {
namespace {

TEST(FarviewSettingsStore, DefaultsThenWhatIsWritten) {
    qs::test::TempDir dir;
    FarviewSettings settings(dir.File("Brask Meter/Duravane III Remote Display"));
    EXPECT_EQ(settings.Port(), 1);
    EXPECT_EQ(settings.Address(), "192.168.0.1");
    EXPECT_FALSE(settings.CustomWindowRegion());
    int x = 0, y = 0;
    EXPECT_FALSE(settings.Position(x, y));

    ASSERT_TRUE(settings.SetPort(0));
    ASSERT_TRUE(settings.SetAddress("10.0.1.2"));
    ASSERT_TRUE(settings.SetCustomWindowRegion(true));
    ASSERT_TRUE(settings.SetPosition(120, 80));
    EXPECT_EQ(dir.Read("Brask Meter/Duravane III Remote Display"),
              "[Settings]\nPort=0\nIPAddress=10.0.1.2\nCustomWindowRegion=1\nXPosition=120\nYPosition=80\n");
    FarviewSettings again(settings.Path());
    EXPECT_EQ(again.Port(), 0);
    EXPECT_EQ(again.Address(), "10.0.1.2");
    EXPECT_TRUE(again.CustomWindowRegion());
    EXPECT_TRUE(again.Position(x, y));
    EXPECT_EQ(x, 120);
    EXPECT_EQ(y, 80);
}

TEST(FarviewSettingsStore, TheCommandLineWritesOnlyWhatItNames) {
    qs::test::TempDir dir;
    FarviewSettings settings(dir.File("settings"));
    settings.SetPort(4);
    settings.Apply(FarviewCommandLine::Parse("ADDR0A000102 QUAD"));
    EXPECT_EQ(settings.Port(), 4) << "COM absent leaves Port alone";
    EXPECT_EQ(settings.Address(), "10.0.1.2");
    settings.Apply(FarviewCommandLine::Parse("MASTER COM2"));
    EXPECT_EQ(settings.Port(), 2);
    EXPECT_EQ(settings.Address(), "10.0.1.2");
    settings.Apply(FarviewCommandLine::Parse("COM99999999999 ADDR123456789"));
    EXPECT_EQ(settings.Port(), 2) << "refused numbers write nothing";
    EXPECT_EQ(settings.Address(), "10.0.1.2");
}

TEST(FarviewSettingsStore, StoredValuesAreBounded) {
    struct Row {
        const char* file;
        bool placed;
    };
    const Row rows[] = {
        {"[Settings]\nXPosition=-10000\nYPosition=40\n", false},
        {"[Settings]\nXPosition=-9999\nYPosition=-9999\n", true},
        {"[Settings]\nXPosition=40\n", false},
        {"[Settings]\nXPosition=32767\nYPosition=0\n", true},
        {"[Settings]\nXPosition=40000\nYPosition=0\n", false},
        {"[Settings]\nXPosition=9999999999\nYPosition=0\n", false},
    };
    qs::test::TempDir dir;
    for (const Row& row : rows) {
        dir.Write("settings", row.file);
        FarviewSettings settings(dir.File("settings"));
        int x = 0, y = 0;
        EXPECT_EQ(settings.Position(x, y), row.placed) << row.file;
    }
    dir.Write("settings", "[Settings]\nIPAddress=" + std::string(65, '1') + "\nPort=abc\n");
    FarviewSettings settings(dir.File("settings"));
    EXPECT_EQ(settings.Address(), "192.168.0.1");
    EXPECT_EQ(settings.Port(), 1);
}

}  // namespace
}  // namespace qs::farview
