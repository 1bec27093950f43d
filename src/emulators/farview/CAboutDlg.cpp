#include "emulators/farview/CAboutDlg.h"

#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "emulators/farview/FaceplateArt.h"

namespace qs::farview {

CAboutDlg::CAboutDlg(wxWindow* parent) : wxDialog(parent, 100, kCaption) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticBitmap(this, wxID_ANY, wxBitmap(FaceplateArt::Icons().GetIcon(32))), 0, wxALL, 12);
    row->Add(new wxStaticText(this, wxID_ANY, kVersion), 0, wxALIGN_CENTRE_VERTICAL | wxRIGHT, 24);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(row, 0, wxTOP, 8);
    top->Add(CreateStdDialogButtonSizer(wxOK), 0, wxALIGN_RIGHT | wxALL, 8);
    SetSizerAndFit(top);
    CentreOnParent();
}

}  // namespace qs::farview
