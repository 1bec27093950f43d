#include "app/shell/CAboutDlg.h"

#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/shell/RevisionTexts.h"

namespace qs {

CAboutDlg::CAboutDlg(wxWindow* parent) : StandardDialog(parent, 100, kCaption) {
    auto* panel = new wxPanel(this);
    auto* inner = new wxBoxSizer(wxVERTICAL);
    auto* name = new wxStaticText(panel, wxID_ANY, "Quillset for Duravane III.net");
    name->SetFont(wxFont(wxFontInfo(14).Bold()));
    inner->Add(name, 0, wxALIGN_CENTRE_HORIZONTAL | wxLEFT | wxRIGHT | wxTOP, 16);
    RevisionTexts::Add(panel, inner);
    panel->SetSizer(inner);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(panel, 1, wxEXPAND);
    AddCornerButtons(top, wxOK);
    FinishLayout(top);
}

}  // namespace qs
