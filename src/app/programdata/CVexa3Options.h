#pragma once
#include "app/common/StandardDialog.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/IniProfile.h"
#include "platform/SerialSettings.h"
#include "appmodel/programdata/DocumentOptionsModel.h"

class wxButton;
class wxChoice;
class wxTextCtrl;

namespace qs {

// The link settings of one program-data document: description, model, COM port or TCP/IP
// with its address, protocol, the six arm addresses and the code page of its text values.
// The caller fills the fields, shows the dialog and, after OK, reads them back.
class CVexa3Options : public StandardDialog {
public:
    // What it says (a refused field, a failed save of serial settings) goes through `ui`.
    CVexa3Options(wxWindow* parent, const DocumentLinkFields& fields, IniProfile profile, const UiServices& ui);

    const DocumentLinkFields& Fields() const { return model_.fields; }
    // Serial settings of the chosen port were edited and stored while the dialog was open.
    bool SettingsChanged() const { return model_.settingsChanged; }

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    // Enables the serial settings for a COM port and the IP address for TCP/IP.
    void UpdateControls();

    // How the serial settings dialog is run; returns true when the user chose OK. Replaced by
    // tests, which cannot click through a modal dialog.
    std::function<bool(wxWindow* parent, const std::string& portName, SerialSettings& settings)> runCommDialog;

    wxTextCtrl* DescriptionField() const { return description_; }
    wxChoice* ModelList() const { return modelList_; }
    wxChoice* PortList() const { return portList_; }
    wxChoice* ProtocolList() const { return protocolList_; }
    wxChoice* CodePageList() const { return codePageList_; }
    wxButton* CommSettingsButton() const { return commSettings_; }
    wxTextCtrl* IpAddressField() const { return ipAddress_; }
    wxTextCtrl* BaseAddressField() const { return addresses_[0]; }
    // Arm 2-6 for n = 2-6.
    wxTextCtrl* ArmAddressField(int arm) const;

    static constexpr const char* kDescriptionNotConvertibleMessage =
        "The description has characters the chosen code page cannot hold.";

private:
    void OnCommSettings();

    DocumentOptionsModel model_;
    // What the address validators fill: base address first, then arms 2-6.
    std::array<int, 6> addressValues_{};
    uint32_t ipValue_ = 0;  // what the IP-address validator fills

    wxTextCtrl* description_ = nullptr;
    wxChoice* modelList_ = nullptr;
    wxChoice* portList_ = nullptr;
    wxChoice* protocolList_ = nullptr;
    wxChoice* codePageList_ = nullptr;
    wxButton* commSettings_ = nullptr;
    wxTextCtrl* ipAddress_ = nullptr;
    std::array<wxTextCtrl*, 6> addresses_{};
};

}  // namespace qs
