// Panelsim's faceplate inside the test program, on a pty whose other end the test plays as the
// arms: the PC's keys under "AllowHotkeys", the setup dialog, and what its OK changes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "GuiPump.h"
#include "KeyPresses.h"
#include "PtyPair.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "emulators/panelsim/CMmiEmulatorDlg.h"
#include "emulators/panelsim/CMmiSetupDlg.h"
#include "emulators/panelsim/core/PollingList.h"

namespace qs::panelsim::test {
namespace {

using qs::test::PressAndRelease;

// The key frames the arms received other than polls and the greeting, as (code, address).
std::vector<std::pair<int, int>> Keys(const std::string& received) {
    std::vector<std::pair<int, int>> keys;
    for (size_t at = 0; at + 16 <= received.size(); at += 16) {
        const auto code = static_cast<uint8_t>(received[at + 3]);
        if (code != 0xF3 && code != 0xFF) keys.emplace_back(code, static_cast<uint8_t>(received[at + 2]));
    }
    return keys;
}

class MmiFaceplate : public ::testing::Test {
protected:
    MmiFaceplate() : runtime_("XDG_RUNTIME_DIR", dir_.File("run")), config_("XDG_CONFIG_HOME", dir_.File("config")) {
        ::mkdir(dir_.File("run").c_str(), 0700);
        settings_.SetPort(4);
        settings_.SetAddressList(" 01,02,05");
    }

    void TearDown() override {
        if (dialog_) dialog_->Destroy();
        qs::test::PumpFor(20);
    }

    CMmiEmulatorDlg& Open(bool hotkeys) {
        settings_.SetAllowHotkeys(hotkeys);
        session_ = std::make_unique<OperatorPanelSession>(ui_.services, clock_, [this](int) { return pty_.SlavePath(); });
        dialog_ = new CMmiEmulatorDlg(*session_, settings_, ui_.services);
        dialog_->Show();
        qs::test::PumpFor(50);
        return *dialog_;
    }

    // Everything the arms received by now.
    std::string Received() { return pty_.DeviceReceives(16 * 256, 200); }

    qs::test::TempDir dir_;
    qs::test::ScopedEnv runtime_, config_;
    qs::test::RecordingUi ui_;
    qs::test::PtyPair pty_;
    SteadyClock clock_;
    PanelsimSettings settings_{dir_.File("settings")};
    std::unique_ptr<OperatorPanelSession> session_;
    CMmiEmulatorDlg* dialog_ = nullptr;
};

TEST_F(MmiFaceplate, PcKeysReachTheCurrentArmOnlyWithHotkeysAllowedAndF2IsNotOne) {
    struct Row {
        int key;
        bool taken;  // all four events of the key consumed
    };
    const Row rows[] = {{WXK_F7, true}, {'5', true}, {WXK_F2, false}, {WXK_F3, false}};
    for (const bool hotkeys : {false, true}) {
        SCOPED_TRACE(hotkeys ? "hotkeys allowed" : "hotkeys not allowed");
        CMmiEmulatorDlg& dialog = Open(hotkeys);
        Received();
        for (const Row& row : rows) {
            EXPECT_EQ(PressAndRelease(dialog.KeyButton(1004), row.key) == 4, row.taken) << row.key;
        }
        const auto expected = hotkeys ? std::vector<std::pair<int, int>>{{'A', 1}, {'5', 1}} : std::vector<std::pair<int, int>>{};
        EXPECT_EQ(Keys(Received()), expected);
        dialog.Destroy();
        dialog_ = nullptr;
        qs::test::PumpFor(20);
    }
}

TEST_F(MmiFaceplate, SetupListsPortsAndAddressesAddsAndRemoves) {
    CMmiSetupDlg setup(nullptr, 3, " 01,02,05");
    EXPECT_EQ(setup.GetTitle(), "Communications Port Setup");
    ASSERT_EQ(setup.PortChoice()->GetCount(), 11u);
    EXPECT_EQ(setup.PortChoice()->GetString(0), "Com 1");
    EXPECT_EQ(setup.PortChoice()->GetString(10), "Com 11");
    EXPECT_EQ(setup.PortChoice()->GetSelection(), 2);
    ASSERT_EQ(setup.Addresses()->GetCount(), 3u);
    EXPECT_EQ(setup.Addresses()->GetString(0), " 01");

    setup.NewAddress()->SetValue(7);
    setup.Add();
    setup.NewAddress()->SetValue(0);
    setup.Add();
    ASSERT_EQ(setup.Addresses()->GetCount(), 4u) << "0 is not added";
    EXPECT_EQ(setup.Addresses()->GetString(3), " 07");

    setup.Addresses()->SetSelection(0);
    setup.Remove();
    EXPECT_EQ(setup.Addresses()->GetCount(), 4u) << "the first entry stays";
    setup.Addresses()->SetSelection(2);
    setup.Remove();
    EXPECT_EQ(setup.AddressList(), " 01,02, 07");

    setup.PortChoice()->SetSelection(10);
    ASSERT_TRUE(setup.TransferDataFromWindow());
    EXPECT_EQ(setup.Port(), 11);
}

TEST_F(MmiFaceplate, SetupOkStoresTheListAndThePortOnlyWhenItChanged) {
    CMmiEmulatorDlg& dialog = Open(false);
    // The same port: the line stays, the list is new.
    dialog.ApplyCommSetup(4, " 09,02");
    EXPECT_EQ(PollingList::Parse(settings_.AddressList()), (std::vector<uint8_t>{9, 2}));
    EXPECT_EQ(dialog.Session().Arms(), (std::vector<uint8_t>{9, 2}));
    EXPECT_EQ(settings_.Port(), 4);
    EXPECT_TRUE(dialog.Session().HasLink());
    for (size_t slot = 0; slot < ArmStatusLines::kSlots; ++slot) EXPECT_EQ(dialog.Session().Status().Text(slot), "");
    Received();
    dialog.PressKey(1004);
    EXPECT_EQ(Keys(Received()), (std::vector<std::pair<int, int>>{{'5', dialog.Session().Arms()[dialog.Session().CurrentArm()]}}));
    dialog.ApplyCommSetup(6, " 09,02");
    EXPECT_EQ(settings_.Port(), 6);
    EXPECT_EQ(dialog.Session().Port(), 6);
}

}  // namespace
}  // namespace qs::panelsim::test
