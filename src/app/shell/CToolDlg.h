#pragma once
#include "app/common/StandardDialog.h"

class wxCheckBox;
class wxRadioBox;

namespace qs {

// "ToolBar Configuration": which of the Standard and Edit toolbars are shown, tool-tips on or
// off (from the next start), colour or black-and-white buttons. The caller fills the members,
// shows the dialog and reads them back after OK.
class CToolDlg : public StandardDialog {
public:
    explicit CToolDlg(wxWindow* parent);

    bool showMain = true;
    bool showEdit = true;
    int toolTips = 0;  // 0 "&Show", 1 "&Hide"
    int colour = 0;    // 0 "&Color", 1 "&B&&W"

    wxCheckBox* MainBox() const { return main_; }
    wxCheckBox* EditBox() const { return edit_; }
    wxRadioBox* ToolTipsGroup() const { return toolTipsGroup_; }
    wxRadioBox* ColourGroup() const { return colourGroup_; }

private:
    wxCheckBox* main_ = nullptr;
    wxCheckBox* edit_ = nullptr;
    wxRadioBox* toolTipsGroup_ = nullptr;
    wxRadioBox* colourGroup_ = nullptr;
};

}  // namespace qs
