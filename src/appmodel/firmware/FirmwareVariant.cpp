#include "appmodel/firmware/FirmwareVariant.h"

namespace qs {

const FirmwareVariant& FirmwareVariant::Controller() {
    static const FirmwareVariant variant{
        "Firmware Upgrade Wizard",
        "D3XNET.BIN",
        "Duravane.net Upgrade Wizard",
        "Quillset Firmware Upgrade Wizard",
        "WARNING... the existing firmware image is newer than the version you are attempting to download. Continue?",
        "Pelvo Firmware Upgrade Wizard",
        &DeviceIdentification::ControllerTable,
    };
    return variant;
}

const FirmwareVariant& FirmwareVariant::OperatorPanel() {
    static const FirmwareVariant variant{
        "MMI Firmware Upgrade Wizard",
        "MMINET.BIN",
        "MMI.net Upgrade Wizard",
        "MMI Firmware Upgrade Wizard",
        "WARNING... the existing DuraVane firmware image will be replaced by the MMI version. Continue?",
        "MMI.NET Firmware Upgrade Wizard",
        &DeviceIdentification::OperatorPanelTable,
    };
    return variant;
}

}  // namespace qs
