#include "emulators/displayui/CAboutDlg.h"

#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "emulators/displayui/FaceplateArt.h"

namespace qs::displayui {

CAboutDlg::CAboutDlg(wxWindow* parent, const wxString& program) : wxDialog(parent, 100, "About " + program) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticBitmap(this, wxID_ANY, wxBitmap(FaceplateArt::Icons().GetIcon(32))), 0, wxALL, 12);
    row->Add(new wxStaticText(this, wxID_ANY, program + " Version 0"), 0, wxALIGN_CENTRE_VERTICAL | wxRIGHT, 24);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(row, 0, wxTOP, 8);
    top->Add(CreateStdDialogButtonSizer(wxOK), 0, wxALIGN_RIGHT | wxALL, 8);
    SetSizerAndFit(top);
    CentreOnParent();
}

}  // namespace qs::displayui
