#include "app/tools/CRegisterBrowseDlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/common/CFindDialog.h"
#include "app/common/ModelessBesideModal.h"
#include "app/common/WxText.h"
#include "platform/UiServices.h"
#include "programdata/ParamDictionary.h"

namespace qs {

namespace {

// The model node behind a tree item.
class NodeData : public wxTreeItemData {
public:
    explicit NodeData(int node) : node(node) {}
    int node;
};

}  // namespace

CRegisterBrowseDlg::CRegisterBrowseDlg(wxWindow* parent, const ParamDictionary& dictionary, const UiServices& ui,
                                       Options options)
    : StandardDialog(parent, wxID_ANY, "Select Data Item", wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      dictionary_(dictionary),
      ui_(ui),
      options_(options),
      model_(dictionary, options.numericOnly) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    tree_ = new wxTreeCtrl(this, wxID_ANY, wxDefaultPosition, FromDIP(wxSize(360, 320)),
                           wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_SINGLE);
    top->Add(tree_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, Margin());

    auto* boxes = new wxFlexGridSizer(2, Gap(), Gap());
    offsetLabel_ = new wxStaticText(this, wxID_ANY, "Offset:");
    offsetBox_ = new wxTextCtrl(this, wxID_ANY, "0");
    boxes->Add(offsetLabel_, 0, wxALIGN_CENTER_VERTICAL);
    boxes->Add(offsetBox_, 0);
    if (options_.armCount > 0) {
        boxes->Add(new wxStaticText(this, wxID_ANY, "Arm:"), 0, wxALIGN_CENTER_VERTICAL);
        armBox_ = new wxTextCtrl(this, wxID_ANY, "1");
        boxes->Add(armBox_, 0);
    }
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(boxes, 1, wxALIGN_CENTER_VERTICAL);
    search_ = new wxButton(this, wxID_FIND, "&Search");
    row->Add(search_, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, Gap());
    top->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, Margin());
    AddButtonRow(top, wxOK | wxCANCEL);

    tree_->Bind(wxEVT_TREE_SEL_CHANGED, [this](wxTreeEvent&) { OnSelectionChanged(); });
    search_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnSearch(); });
    Bind(wxEVT_QS_FIND, &CRegisterBrowseDlg::OnFind, this);

    Fill(options_.current);
    FinishLayout(top);
}

CRegisterBrowseDlg::~CRegisterBrowseDlg() {
    if (findDialog_) findDialog_->Destroy();
}

void CRegisterBrowseDlg::Fill(const CParam* current) {
    tree_->Freeze();
    const wxTreeItemId root = tree_->AddRoot("");
    const auto& nodes = model_.Nodes();
    items_.reserve(nodes.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        const auto& n = nodes[i];
        const wxTreeItemId parent = n.parent < 0 ? root : items_[static_cast<size_t>(n.parent)];
        items_.push_back(tree_->AppendItem(parent, ToWx(n.text), -1, -1, new NodeData(static_cast<int>(i))));
    }
    tree_->Thaw();
    tree_->SetFocus();
    OnSelectionChanged();
    const int node = model_.NodeOf(current);
    if (node >= 0) {
        tree_->SelectItem(items_[static_cast<size_t>(node)]);
        tree_->EnsureVisible(items_[static_cast<size_t>(node)]);
    }
}

wxTreeItemId CRegisterBrowseDlg::ItemOf(int node) const {
    if (node < 0 || static_cast<size_t>(node) >= items_.size()) return {};
    return items_[static_cast<size_t>(node)];
}

const CParam* CRegisterBrowseDlg::SelectedEntry() const {
    const wxTreeItemId item = tree_->GetSelection();
    if (!item.IsOk()) return nullptr;
    const auto* data = dynamic_cast<NodeData*>(tree_->GetItemData(item));
    return data ? model_.EntryAt(data->node) : nullptr;
}

void CRegisterBrowseDlg::OnSelectionChanged() {
    const CParam* entry = SelectedEntry();
    const auto box = RegisterTreeModel::OffsetFor(entry);
    offsetLabel_->SetLabel(ToWx(box.label));
    if (box.text) offsetBox_->ChangeValue(ToWx(*box.text));
    offsetBox_->Enable(box.enabled);
    if (armBox_) {
        const bool armEnabled = RegisterTreeModel::ArmBoxEnabled(entry, options_.armCount);
        if (!armEnabled) armBox_->ChangeValue("1");
        armBox_->Enable(armEnabled);
    }
    Layout();
}

bool CRegisterBrowseDlg::TransferDataFromWindow() {
    if (!tree_->GetSelection().IsOk()) return true;
    const CParam* entry = SelectedEntry();
    std::string refusal;
    const auto typedOffset = RegisterTreeModel::CheckOffset(entry, offsetBox_->GetValue().utf8_string(), &refusal);
    if (!typedOffset) {
        ui_.Message(refusal, MB_OK | MB_ICONEXCLAMATION);
        offsetBox_->SetFocus();
        return false;
    }
    int typedArm = 1;
    if (armBox_) {
        const auto checked = RegisterTreeModel::CheckArm(options_.armCount, armBox_->GetValue().utf8_string(), &refusal);
        if (!checked) {
            ui_.Message(refusal, MB_OK | MB_ICONEXCLAMATION);
            armBox_->SetFocus();
            return false;
        }
        typedArm = *checked;
    }
    offset = *typedOffset;
    arm = typedArm;
    result = entry;
    return true;
}

void CRegisterBrowseDlg::OnSearch() {
    if (!findDialog_) {
        findDialog_ = new CFindDialog(this);
        // The tree is searched forward only, from the top or the last match.
        findDialog_->BackwardButton()->Disable();
        findDialog_->FromCursorBox()->Disable();
        ModelessBesideModal::Allow(*findDialog_);
    }
    findDialog_->Show();
    findDialog_->Raise();
}

void CRegisterBrowseDlg::OnFind(FindRequestEvent& event) {
    CFindDialog* dialog = event.Dialog();
    if (!dialog || event.Request() == kFindOpened) return;
    const int node = model_.Find(event.Request(), [dialog](const std::string& text) {
        return dialog->MatchText(ToWx(text));
    });
    if (node < 0) {
        ui_.Message(RegisterTreeModel::kNotFoundMessage);
        // The message box took the focus, and the window manager hands it back to the modal
        // picker, which would cover the find window the user is still typing into.
        dialog->Raise();
        dialog->SetFocus();
        return;
    }
    tree_->EnsureVisible(items_[static_cast<size_t>(node)]);
    tree_->SelectItem(items_[static_cast<size_t>(node)]);
}

std::optional<PickedRegister> PickRegister(wxWindow* parent, const ParamDictionary& dictionary, const UiServices& ui,
                                           CRegisterBrowseDlg::Options options) {
    CRegisterBrowseDlg dialog(parent, dictionary, ui, options);
    if (dialog.ShowModal() != wxID_OK || dialog.result == nullptr) return std::nullopt;
    const auto id = BuildRegisterId(dictionary, *dialog.result, dialog.arm, dialog.offset);
    if (!id) return std::nullopt;
    return PickedRegister{dialog.result, dialog.offset, dialog.arm, *id};
}

}  // namespace qs
