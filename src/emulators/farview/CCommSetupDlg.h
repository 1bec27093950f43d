#pragma once
#include <array>
#include <string>

#include <wx/dialog.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

namespace qs::farview {

// "Communications Port Setup": TCP/IP to the device's display port, or one of COM1-COM4, and
// the device's IP address. A port the choices cannot show (COM5 and up, from the command line)
// is kept as it is unless the user picks another.
class CCommSetupDlg : public wxDialog {
public:
    static constexpr int kChoices = 5;  // TCP/IP, Com1-Com4

    CCommSetupDlg(wxWindow* parent, int port, const std::string& address);

    int Port() const { return port_; }
    const std::string& Address() const { return address_; }

    wxRadioButton* Choice(int port) const { return port >= 0 && port < kChoices ? choices_[static_cast<size_t>(port)] : nullptr; }
    wxTextCtrl* AddressField() const { return addressField_; }

    bool TransferDataFromWindow() override;

private:
    std::array<wxRadioButton*, kChoices> choices_{};
    wxRadioButton* kept_ = nullptr;  // never shown: holds the choice while the port is none of the five
    wxTextCtrl* addressField_ = nullptr;
    int port_;
    std::string address_;
};

}  // namespace qs::farview
