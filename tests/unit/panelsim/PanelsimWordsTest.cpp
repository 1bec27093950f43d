#include <gtest/gtest.h>

#include "TempDir.h"
#include "emulators/panelsim/core/AddressListEditor.h"
#include "emulators/panelsim/core/PanelsimCommandLine.h"
#include "emulators/panelsim/core/PanelsimSettings.h"
#include "emulators/panelsim/core/PollingList.h"

namespace qs::panelsim {
namespace {

TEST(PanelsimCommandLineParse, PortAndTheTextAfterArms) {
    struct Row {
        const char* text;
        std::optional<int> port;
        std::optional<std::string> list;
    };
    const Row rows[] = {
        {"COM3 ARMS 01,02,05", 3, " 01,02,05"},
        {"ARMS 07", std::nullopt, " 07"},
        {"COM12", 12, std::nullopt},
        {"COMX ARMS", 0, ""},
        {"", std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        const PanelsimCommandLine line = PanelsimCommandLine::Parse(row.text);
        EXPECT_EQ(line.port, row.port) << row.text;
        EXPECT_EQ(line.addressList, row.list) << row.text;
        EXPECT_TRUE(line.refused.empty()) << row.text;
    }
    const PanelsimCommandLine huge = PanelsimCommandLine::Parse("COM99999999999 ARMS " + std::string(2000, '1'));
    EXPECT_FALSE(huge.port);
    EXPECT_EQ(huge.refused, std::vector<std::string>{"COM"});
    EXPECT_EQ(huge.addressList->size(), PanelsimCommandLine::kMaxAddressText);
}

TEST(PanelsimPollingList, OnlyAddressesOneToNinetyNineAndAtMostThirtyTwo) {
    struct Row {
        std::string text;
        std::vector<uint8_t> arms;
    };
    std::string many;
    for (int i = 1; i <= 40; ++i) many += std::to_string(i) + ",";
    std::vector<uint8_t> first32;
    for (uint8_t i = 1; i <= 32; ++i) first32.push_back(i);
    const Row rows[] = {
        {" 01,02,05", {1, 2, 5}},
        {"", {}},
        {"0,7,100,abc, 9,-3,99", {7, 9, 99}},
        {"3,3", {3, 3}},
        {many, first32},
    };
    for (const Row& row : rows) EXPECT_EQ(PollingList::Parse(row.text), row.arms) << row.text;
}

TEST(PanelsimSettingsStore, DefaultsAndWhatTheCommandLineNames) {
    qs::test::TempDir dir;
    PanelsimSettings settings(dir.File("settings"));
    EXPECT_EQ(settings.Port(), 1);
    EXPECT_EQ(settings.AddressList(), "");
    EXPECT_FALSE(settings.AllowHotkeys());
    settings.Apply(PanelsimCommandLine::Parse("COM3 ARMS 01,02,05"));
    EXPECT_EQ(settings.Port(), 3);
    EXPECT_EQ(PollingList::Parse(settings.AddressList()), (std::vector<uint8_t>{1, 2, 5}));
    settings.Apply(PanelsimCommandLine::Parse("COM4"));
    EXPECT_EQ(settings.Port(), 4);
    EXPECT_EQ(PollingList::Parse(settings.AddressList()), (std::vector<uint8_t>{1, 2, 5})) << "no ARMS: the list stays";
    ASSERT_TRUE(settings.SetAllowHotkeys(true));
    EXPECT_TRUE(PanelsimSettings(dir.File("settings")).AllowHotkeys());
}

TEST(PanelsimAddressListEditor, AddRemoveAndJoin) {
    AddressListEditor editor(" 01,02");
    EXPECT_EQ(editor.Entries(), (std::vector<std::string>{" 01", "02"}));
    EXPECT_TRUE(editor.Add(7));
    EXPECT_EQ(editor.Entries().back(), " 07");
    for (int refused : {0, -1, 100}) EXPECT_FALSE(editor.Add(refused)) << refused;
    EXPECT_FALSE(editor.Remove(0)) << "the first entry stays";
    EXPECT_FALSE(editor.Remove(-1)) << "nothing selected";
    EXPECT_FALSE(editor.Remove(3));
    EXPECT_TRUE(editor.Remove(1));
    EXPECT_EQ(editor.Join(), " 01, 07");
    EXPECT_EQ(PollingList::Parse(editor.Join()), (std::vector<uint8_t>{1, 7}));
    EXPECT_EQ(AddressListEditor::Format(42), " 42");

    AddressListEditor empty("");
    EXPECT_TRUE(empty.Entries().empty());
    for (int i = 1; i <= 32; ++i) ASSERT_TRUE(empty.Add(i)) << i;
    EXPECT_FALSE(empty.Add(33)) << "the polling list holds 32";
}

}  // namespace
}  // namespace qs::panelsim
