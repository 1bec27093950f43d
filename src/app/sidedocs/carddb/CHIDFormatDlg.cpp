#include "app/sidedocs/carddb/CHIDFormatDlg.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/shell/ContextHelp.h"
#include "platform/UiServices.h"

namespace qs {

CHIDFormatDlg::CHIDFormatDlg(wxWindow* parent, HidCardCode& code, const UiServices& ui)
    : StandardDialog(parent, wxID_ANY, "HID Card Data Encoding"), code_(code), ui_(ui) {
    const int gap = Gap();
    auto* grid = new wxFlexGridSizer(2, gap / 2, gap);
    auto field = [&](const char* label) {
        grid->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
        auto* text = new wxTextCtrl(this, wxID_ANY);
        text->SetMinSize(wxSize(FromDIP(90), -1));
        grid->Add(text, 0);
        return text;
    };
    extended_ = field("Extended Code: (0-4095)");
    facility_ = field("Facility Code: (0-255)");
    card_ = field("Card #: (0-65535)");

    auto* formats = new wxBoxSizer(wxVERTICAL);
    format26_ = new wxRadioButton(this, wxID_ANY, "26-bit (standard)", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    format37_ = new wxRadioButton(this, wxID_ANY, "37-bit");
    formats->Add(format26_, 0, wxBOTTOM, gap / 2);
    formats->Add(format37_, 0);

    auto* body = new wxBoxSizer(wxHORIZONTAL);
    body->Add(grid, 0, wxRIGHT, gap * 2);
    body->Add(formats, 0);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(body, 0, wxALL, Margin());
    AddButtonRow(top, wxOK | wxCANCEL | wxHELP);
    FinishLayout(top);
    ContextHelp::SetId(this, kHelpId);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ContextHelp::ShowTopic(ui_, kHelpId); }, wxID_HELP);

    code_.ParseValue();
}

bool CHIDFormatDlg::TransferDataToWindow() {
    extended_->ChangeValue(std::to_string(code_.extended));
    facility_->ChangeValue(std::to_string(code_.facility));
    card_->ChangeValue(std::to_string(code_.card));
    (code_.format == HidCardCode::k37Bit ? format37_ : format26_)->SetValue(true);
    return true;
}

bool CHIDFormatDlg::TransferDataFromWindow() {
    struct Field {
        wxTextCtrl* control;
        unsigned max;
        unsigned* value;
    };
    unsigned extended = 0, facility = 0, card = 0;
    for (const Field& f : {Field{extended_, HidCardCode::kMaxExtended, &extended},
                           Field{facility_, HidCardCode::kMaxFacility, &facility},
                           Field{card_, HidCardCode::kMaxCard, &card}}) {
        std::string message;
        const auto value = HidCardCode::ReadField(f.control->GetValue().utf8_string(), f.max, message);
        if (!value) {
            ui_.Message(message, MB_OK | MB_ICONEXCLAMATION);
            f.control->SetFocus();
            f.control->SelectAll();
            return false;
        }
        *f.value = *value;
    }
    code_.extended = extended;
    code_.facility = facility;
    code_.card = card;
    code_.format = format37_->GetValue() ? HidCardCode::k37Bit : HidCardCode::k26Bit;
    code_.FormatValue();
    return true;
}

}  // namespace qs
