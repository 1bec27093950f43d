#include "app/shell/CToolDlg.h"

#include <wx/checkbox.h>
#include <wx/radiobox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/valgen.h>

namespace qs {

CToolDlg::CToolDlg(wxWindow* parent) : StandardDialog(parent, wxID_ANY, "ToolBar Configuration") {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);

    auto* bars = new wxStaticBoxSizer(wxVERTICAL, this, "Toolbars");
    main_ = new wxCheckBox(bars->GetStaticBox(), 1007, "&Main", wxDefaultPosition, wxDefaultSize, 0,
                           wxGenericValidator(&showMain));
    edit_ = new wxCheckBox(bars->GetStaticBox(), 1003, "&Edit", wxDefaultPosition, wxDefaultSize, 0,
                           wxGenericValidator(&showEdit));
    bars->Add(main_, 0, wxALL, 4);
    bars->Add(edit_, 0, wxALL, 4);
    row->Add(bars, 0, wxEXPAND | wxALL, 6);

    const wxString tips[] = {"&Show", "&Hide"};
    toolTipsGroup_ = new wxRadioBox(this, 1021, "ToolTips", wxDefaultPosition, wxDefaultSize, 2, tips, 1,
                                    wxRA_SPECIFY_COLS, wxGenericValidator(&toolTips));
    row->Add(toolTipsGroup_, 0, wxEXPAND | wxALL, 6);

    const wxString colours[] = {"&Color", "&B&&W"};
    colourGroup_ = new wxRadioBox(this, 1188, "Color Buttons", wxDefaultPosition, wxDefaultSize, 2, colours, 1,
                                  wxRA_SPECIFY_COLS, wxGenericValidator(&colour));
    row->Add(colourGroup_, 0, wxEXPAND | wxALL, 6);

    top->Add(row, 0, wxALL, 4);
    AddCornerButtons(top, wxOK | wxCANCEL);
    FinishLayout(top);
}

}  // namespace qs
