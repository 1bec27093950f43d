#pragma once
#include "app/common/StandardDialog.h"

#include "platform/IniProfile.h"
#include "programdata/AppOptions.h"

class wxCheckBox;
class wxChoice;

namespace qs {

struct UiServices;

// Edits the application options. The options themselves live as long as the application;
// this window exists only while it is shown. OK stores them in the profile and they take
// effect at once (the recent-file count, which has no control, at the next start).
class CAppOptionsDlg : public StandardDialog {
public:
    // A failed save is said through `ui`.
    CAppOptionsDlg(wxWindow* parent, AppOptions& options, IniProfile profile, const UiServices& ui);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    wxCheckBox* AutoConnectBox() const { return autoConnect_; }
    wxCheckBox* ConfirmWritesBox() const { return confirmWrites_; }
    wxCheckBox* ShowSecLvlBox() const { return showSecLvl_; }
    wxCheckBox* PrintShowSecLvlBox() const { return printShowSecLvl_; }
    wxChoice* LevelList() const { return level_; }
    wxCheckBox* SuppressUnusedBox() const { return suppressUnused_; }

private:
    AppOptions& options_;
    IniProfile profile_;
    const UiServices& ui_;
    wxCheckBox* autoConnect_ = nullptr;
    wxCheckBox* confirmWrites_ = nullptr;
    wxCheckBox* showSecLvl_ = nullptr;
    wxCheckBox* printShowSecLvl_ = nullptr;
    wxChoice* level_ = nullptr;
    wxCheckBox* suppressUnused_ = nullptr;
};

}  // namespace qs
