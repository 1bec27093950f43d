// The firmware upgrades in the device frame: their two menu rows on TCP/IP documents, and a
// run that reaches the erase warning and the access-code dialog over the frame.
#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/textctrl.h>

#include <filesystem>

#include "DeviceFrames.h"
#include "ShellFixture.h"
#include "app/common/CPasswordDialog.h"
#include "app/programdata/CDirectoryView.h"
#include "app/programdata/CSplitterFrame.h"
#include "app/shell/CommandIds.h"
#include "appmodel/firmware/FirmwareUpgrade.h"
#include "appmodel/programdata/DeviceCommands.h"

namespace qs::test {

namespace {

CPasswordDialog* ShownPasswordDialog() {
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<CPasswordDialog*>(w); dialog && dialog->IsModal()) return dialog;
    return nullptr;
}

// Runs the cwd of the test in a folder of its own for a scope.
class ScopedWorkingFolder {
public:
    explicit ScopedWorkingFolder(const std::string& folder) : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~ScopedWorkingFolder() { std::filesystem::current_path(saved_); }

private:
    std::filesystem::path saved_;
};

}  // namespace

class FirmwareCommandsInFrame : public ShellFixture {
protected:
    CSplitterFrame* FrameOn(const std::string& host, int port = 0) {
        auto* doc = Open(WriteDocument(port ? "serial.D3X" : "tcp.D3X", host, port));
        EXPECT_NE(doc, nullptr);
        if (!doc) return nullptr;
        PumpFor(100);
        auto* view = dynamic_cast<CDirectoryView*>(doc->GetFirstView());
        return view ? view->Frame() : nullptr;
    }
};

TEST_F(FirmwareCommandsInFrame, BothUpgradesAreInTheDeviceMenuForTcpDocumentsOnly) {
    CSplitterFrame* tcp = FrameOn("127.0.0.1");
    ASSERT_NE(tcp, nullptr);
    wxMenuBar* bar = frame->GetMenuBar();
    ASSERT_NE(bar->FindItem(ID_UPGRADE_DEVICE_FIRMWARE), nullptr);
    EXPECT_EQ(bar->FindItem(ID_UPGRADE_DEVICE_FIRMWARE)->GetItemLabel().utf8_string(), "&Upgrade DuraVane Firmware...");
    EXPECT_EQ(bar->FindItem(ID_UPGRADE_MMI_FIRMWARE)->GetItemLabel().utf8_string(), "Upgrade &MMI Firmware...");
    // Offline is enough: an offline upgrade skips the device's checks.
    EXPECT_TRUE(tcp->Commands().IsEnabled(kCmdUpgradeDeviceFirmware));
    EXPECT_TRUE(tcp->Commands().IsEnabled(kCmdUpgradeMmiFirmware));

    CSplitterFrame* serial = FrameOn("", 4);
    ASSERT_NE(serial, nullptr);
    EXPECT_FALSE(serial->Commands().IsEnabled(kCmdUpgradeDeviceFirmware));
    EXPECT_FALSE(serial->Commands().IsEnabled(kCmdUpgradeMmiFirmware));
}

TEST_F(FirmwareCommandsInFrame, TheCommandWarnsThenAsksForTheAccessCodeOverTheFrame) {
    CSplitterFrame* tcp = FrameOn("127.0.0.1");
    ASSERT_NE(tcp, nullptr);
    // Cancel on the warning: nothing else.
    tcp->RunCommand(kCmdUpgradeMmiFirmware);
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.prompt.shown[0].text, FirmwareUpgrade::kEraseWarning);
    EXPECT_EQ(ui.prompt.shown[0].caption, "MMI Firmware Upgrade Wizard");

    // An image in the current folder, and OK: the access code is asked in its dialog.
    TempDir work;
    work.Write("D3XNET.BIN", WithCrc32(std::string(2000, 'x'), 0x0A463B8B));
    ScopedWorkingFolder cwd(work.Path());
    ui.prompt.shown.clear();
    ui.prompt.Answer(IDOK);
    std::string title;
    wxWindow* parent = nullptr;
    bool busyMeanwhile = true;
    int looks = 0;
    std::function<void()> cancelDialog = [&] {
        if (CPasswordDialog* dialog = ShownPasswordDialog()) {
            title = dialog->GetTitle().utf8_string();
            parent = dialog->GetParent();
            busyMeanwhile = wxIsBusy();
            dialog->CodeField()->SetValue("4711");
            dialog->EndModal(wxID_CANCEL);
        } else if (++looks < 500) {
            wxTheApp->CallAfter([&] { cancelDialog(); });
        }
    };
    wxTheApp->CallAfter([&] { cancelDialog(); });
    tcp->RunCommand(kCmdUpgradeDeviceFirmware);
    EXPECT_EQ(title, "Enter Access Code");
    EXPECT_EQ(parent, tcp) << "no progress window of its own in this test: the frame owns it";
    EXPECT_FALSE(busyMeanwhile) << "no wait cursor over the dialog";
    // Cancel in the dialog ends the upgrade without a word.
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{FirmwareUpgrade::kEraseWarning});
    EXPECT_FALSE(wxIsBusy());
    EXPECT_FALSE(DeviceCommands::CommandRunning());
}

}  // namespace qs::test
