#pragma once
#include <string>

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/spinctrl.h>

#include "emulators/panelsim/core/AddressListEditor.h"

namespace qs::panelsim {

// "Communications Port Setup" of the operator panel: the PC's port (Com 1 to Com 11) and the
// arm addresses to poll, added with "Add >>" and taken out with ">>  Remove". A port the
// choice cannot show (COM12 and up, from the command line) is kept unless the user picks
// another.
class CMmiSetupDlg : public wxDialog {
public:
    static constexpr int kPorts = 11;

    CMmiSetupDlg(wxWindow* parent, int port, const std::string& addressList);

    int Port() const { return port_; }
    // The list box's entries joined with ",".
    std::string AddressList() const { return editor_.Join(); }

    wxChoice* PortChoice() const { return portChoice_; }
    wxListBox* Addresses() const { return addresses_; }
    wxSpinCtrl* NewAddress() const { return newAddress_; }
    // "Add >>" and ">>  Remove" as the buttons do them.
    void Add();
    void Remove();

    bool TransferDataFromWindow() override;

private:
    void Refill(int selection);

    AddressListEditor editor_;
    wxChoice* portChoice_ = nullptr;
    wxListBox* addresses_ = nullptr;
    wxSpinCtrl* newAddress_ = nullptr;
    int port_;
};

}  // namespace qs::panelsim
