#include "app/tools/FirmwareUpgradeCommands.h"

#include <filesystem>
#include <system_error>

#include "app/common/CPasswordDialog.h"
#include "app/common/CProgressWnd.h"
#include "app/common/ModalPump.h"
#include "appmodel/common/AppServices.h"
#include "appmodel/firmware/FirmwareUpgrade.h"
#include "link/FtpSession.h"
#include "platform/UiServices.h"

namespace qs {

FirmwareUpgradeCommands::FirmwareUpgradeCommands(DeviceCommands& commands, wxWindow* owner)
    : commands_(commands), owner_(owner) {
    DeviceCommandTable& table = commands.Table();
    table.Register({kCmdUpgradeDeviceFirmware, MenuSection::DeviceTools, "&Upgrade DuraVane Firmware...", {},
                    EnableRule::TcpLink, [this] { return OnUpgradeDeviceFirmware(); }});
    table.Register({kCmdUpgradeMmiFirmware, MenuSection::DeviceTools, "Upgrade &MMI Firmware...", {},
                    EnableRule::TcpLink, [this] { return OnUpgradeMmiFirmware(); }});
}

bool FirmwareUpgradeCommands::OnUpgradeDeviceFirmware() { return Run(FirmwareVariant::Controller()); }

bool FirmwareUpgradeCommands::OnUpgradeMmiFirmware() { return Run(FirmwareVariant::OperatorPanel()); }

bool FirmwareUpgradeCommands::Run(const FirmwareVariant& variant) {
    DeviceCommands::CommandScope scope;
    if (!scope.Entered()) return false;
    const UiServices& ui = commands_.Ui();
    FtpSession session(FtpSession::kDefaultPort, ui.Time());
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    FirmwareUpgrade upgrade(variant, commands_.Document(),
                            FirmwareUpgradeServices{
                                .ui = ui,
                                .ftp = session,
                                .timeouts = commands_.Services().ftpTimeouts,
                                .askAccessCode = [this] { return AskAccessCode(); },
                                .waitCursor = commands_.Hooks().waitCursor,
                                .rest = &ModalPump::WaitForEvent,
                                .imageFolder = error ? std::string() : folder.string(),
                            });
    return upgrade.Run();
}

std::optional<std::string> FirmwareUpgradeCommands::AskAccessCode() const {
    // Over the progress window, which holds the rest of the program still meanwhile.
    wxWindow* parent = CProgressWnd::Current();
    CPasswordDialog dialog(parent ? parent : owner_);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return dialog.accessCode;
}

}  // namespace qs
