#include "app/programdata/CBitmapParamEditDlg.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "appmodel/programdata/ParamValueCheck.h"

namespace qs {

namespace {

// Boxes per column: the additives fill three columns of eight, short lists two columns.
int ColumnsFor(size_t boxes) { return boxes > 12 ? 3 : boxes > 5 ? 2 : 1; }

}  // namespace

CBitmapParamEditDlg::CBitmapParamEditDlg(wxWindow* parent, ParamEditRequest& request, ParamDialogKind kind)
    : CParamEditDlg(parent, request, Bare{}) {
    request_.kind = kind;
    const int gap = Gap();
    auto* column = new wxBoxSizer(wxVERTICAL);
    AddCaption(column, kBitsCaptionId);
    if (const char* heading = ParamEditRequest::BitsHeading(kind))
        column->Add(new wxStaticText(this, wxID_ANY, heading), 0, wxBOTTOM, gap);

    const auto layout = ParamEditRequest::BitBoxes(kind);
    const int columns = ColumnsFor(layout.size());
    const int rows = (static_cast<int>(layout.size()) + columns - 1) / columns;
    auto* grid = new wxFlexGridSizer(columns, wxSize(gap * 3, gap / 2));
    // Filled down each column, so the numbers run in reading order of a list.
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const size_t i = static_cast<size_t>(c * rows + r);
            if (i >= layout.size()) {
                grid->AddSpacer(0);
                continue;
            }
            auto* box = new wxCheckBox(this, layout[i].controlId, layout[i].label);
            boxes_.emplace_back(layout[i].bit, box);
            grid->Add(box, 0);
        }
    }
    column->Add(grid, 0, wxLEFT | wxBOTTOM, gap);
    if (!boxes_.empty()) firstField_ = boxes_.front().second;
    // Set before the window first shows, so the boxes open in their state rather than
    // animating into it.
    LoadBits();

    AddHelp(column);
    AddLevelAndButtons(column);
    Finish(column);
}

wxCheckBox* CBitmapParamEditDlg::BitBox(int bit) const {
    for (const auto& [b, box] : boxes_)
        if (b == bit) return box;
    return nullptr;
}

void CBitmapParamEditDlg::LoadBits() {
    bits_ = ParamValueCheck::BitsOfValue(request_.newValue);
    for (const auto& [bit, box] : boxes_) box->SetValue((bits_ >> bit) & 1u);
}

bool CBitmapParamEditDlg::TransferDataToWindow() {
    LoadBits();
    LevelToWindow();
    return wxDialog::TransferDataToWindow();
}

bool CBitmapParamEditDlg::TransferDataFromWindow() {
    if (!wxDialog::TransferDataFromWindow()) return false;
    for (const auto& [bit, box] : boxes_) {
        const uint32_t mask = 1u << bit;
        bits_ = box->GetValue() ? (bits_ | mask) : (bits_ & ~mask);
    }
    request_.newValue = ParamValueCheck::ValueOfBits(bits_);
    request_.newLevel = LevelFromWindow();
    return true;
}

}  // namespace qs
