#pragma once
#include "app/tools/wizard/CDX3WizardPage.h"

class wxCheckBox;
class wxChoice;

namespace qs {

// The welcome page: the port the new controller is attached to, its IP address on TCP/IP, and
// the boards it carries.
class CDX3BoxCfgDlg : public CDX3WizardPage {
public:
    CDX3BoxCfgDlg(CDX3PropertySheet& sheet, int index);
    std::string Caption() const override;

    wxChoice* PortList() const { return port_; }
    wxTextCtrl* IpField() const { return ip_; }
    wxCheckBox* BseBox() const { return bse_; }
    wxCheckBox* SecondDisplayBox() const { return secondDisplay_; }
    wxCheckBox* AicbBox() const { return aicb_; }
    wxCheckBox* SecondAicbBox() const { return aicb2_; }

protected:
    void Load() override;
    void Store() override;
    bool CheckFields() override;

private:
    void EnableIp();

    wxChoice* port_ = nullptr;
    wxTextCtrl* ip_ = nullptr;
    wxCheckBox* bse_ = nullptr;
    wxCheckBox* secondDisplay_ = nullptr;
    wxCheckBox* aicb_ = nullptr;
    wxCheckBox* aicb2_ = nullptr;
};

}  // namespace qs
