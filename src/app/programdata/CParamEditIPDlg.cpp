#include "app/programdata/CParamEditIPDlg.h"

#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/common/Ipv4Validator.h"
#include "appmodel/programdata/ParamValueCheck.h"

namespace qs {

CParamEditIPDlg::CParamEditIPDlg(wxWindow* parent, ParamEditRequest& request)
    : CParamEditDlg(parent, request, Bare{}) {
    request_.kind = ParamDialogKind::IpAddress;
    const int gap = Gap();
    auto* column = new wxBoxSizer(wxVERTICAL);
    AddCaption(column, kCaptionId);

    const int width = GetTextExtent("000.000.000.000").x + FromDIP(40);
    auto* values = new wxFlexGridSizer(2, wxSize(gap, gap));
    values->Add(new wxStaticText(this, wxID_ANY, "Current:"), 0, wxALIGN_CENTER_VERTICAL);
    current_ = new wxTextCtrl(this, kCurrentId, wxEmptyString, wxDefaultPosition, wxSize(width, -1), 0,
                              Ipv4Validator(&currentValue_, Ui()));
    current_->Disable();
    values->Add(current_, 0);
    values->Add(new wxStaticText(this, wxID_ANY, "New:"), 0, wxALIGN_CENTER_VERTICAL);
    newAddress_ = new wxTextCtrl(this, kNewId, wxEmptyString, wxDefaultPosition, wxSize(width, -1), 0,
                                 Ipv4Validator(&newValue_, Ui()));
    newAddress_->SetMaxLength(15);
    firstField_ = newAddress_;
    values->Add(newAddress_, 0);
    values->AddSpacer(0);
    prompt_ = new wxStaticText(this, kPromptId, wxEmptyString);
    values->Add(prompt_, 0);
    column->Add(values, 0, wxBOTTOM, gap);

    AddHelp(column);
    AddLevelAndButtons(column);
    Finish(column);
}

bool CParamEditIPDlg::TransferDataToWindow() {
    currentValue_ = newValue_ = ParamValueCheck::AddressOfValue(request_.valueText);
    prompt_->SetLabel(Shown(request_.promptText));
    LevelToWindow();
    Layout();
    return wxDialog::TransferDataToWindow();
}

bool CParamEditIPDlg::TransferDataFromWindow() {
    // The validators check the dotted address (saying what is wrong) and fill newValue_.
    if (!wxDialog::TransferDataFromWindow()) return false;
    request_.newValue = ParamValueCheck::ValueOfAddress(newValue_);
    request_.newLevel = LevelFromWindow();
    return true;
}

}  // namespace qs
