#include "device/StateFile.h"

#include <gtest/gtest.h>

#include "TempDir.h"

namespace sim::test {

TEST(SimStateFile, CodesApplyToTheirSections) {
    ValueStore store;
    const std::string text =
        "# starting values\r\n"
        "SY 111 3 5\r\n"
        "\n"
        "CF 001 - 2\n"
        "[2]\n"
        "BA 007 9 BAY A  LOADING \n"
        "[1, 3]\n"
        "SY 112 255 \n"
        "SY 113 1\n"
        "[*]\n"
        "01 004 - x\n";
    ASSERT_EQ(StateFile::Parse(text, {1, 2, 3}, store), "");
    for (int a : {1, 2, 3}) {
        ASSERT_NE(store.Find(a, "SY", 111), nullptr) << a;
        EXPECT_EQ(store.Find(a, "SY", 111)->value, "5");
        EXPECT_EQ(store.Find(a, "SY", 111)->level, 3);
        EXPECT_EQ(store.Find(a, "CF", 1)->level, ValueStore::kDefaultLevel);
        EXPECT_EQ(store.Find(a, "01", 4)->value, "x");
    }
    ASSERT_NE(store.Find(2, "BA", 7), nullptr);
    EXPECT_EQ(store.Find(2, "BA", 7)->value, "BAY A  LOADING ");
    EXPECT_EQ(store.Find(1, "BA", 7), nullptr);
    EXPECT_EQ(store.Find(1, "SY", 112)->value, "");
    EXPECT_EQ(store.Find(1, "SY", 112)->level, 255);
    EXPECT_EQ(store.Find(3, "SY", 113)->value, "");
    EXPECT_EQ(store.Find(2, "SY", 112), nullptr);
}

TEST(SimStateFile, FaultsNameTheirLine) {
    struct Case {
        const char* text;
        const char* fault;
    };
    for (const Case& c : {
             Case{"SY 111 1 5\nS 111 1 5\n", "state:2: the mnemonic must be 2 characters"},
             Case{"SY 1111 1 5\n", "state:1: the code number must be 0-999"},
             Case{"SY 111 0 5\n", "state:1: the security level must be 1-255 or -"},
             Case{"SY 111 256 5\n", "state:1: the security level must be 1-255 or -"},
             Case{"SY 111\n", "state:1: the security level must be 1-255 or -"},
             Case{"[1,x]\n", "state:1: expected [*] or [addresses 0-99, comma-separated]"},
             Case{"[100]\n", "state:1: expected [*] or [addresses 0-99, comma-separated]"},
         }) {
        ValueStore store;
        EXPECT_EQ(StateFile::Parse(c.text, {1}, store), c.fault) << c.text;
    }
    ValueStore store;
    EXPECT_EQ(StateFile::Parse("SY 111 - " + std::string(ValueStore::kMaxValue + 1, 'v'), {1}, store),
              "state:1: value longer than 1024 characters");
}

TEST(SimStateFile, LoadsFromAFile) {
    qs::test::TempDir dir;
    dir.Write("state.txt", "SY 111 2 7\n");
    ValueStore store;
    ASSERT_EQ(StateFile::Load(dir.File("state.txt"), {4}, store), "");
    ASSERT_NE(store.Find(4, "SY", 111), nullptr);
    EXPECT_EQ(store.Find(4, "SY", 111)->value, "7");
    EXPECT_NE(StateFile::Load(dir.File("missing.txt"), {4}, store), "");
}

}  // namespace sim::test
