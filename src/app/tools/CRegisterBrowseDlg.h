#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/common/StandardDialog.h"
#include "appmodel/registers/RegisterTreeModel.h"

#include <wx/treectrl.h>
#include <wx/weakref.h>

class wxButton;
class wxStaticText;
class wxTextCtrl;

namespace qs {

class CFindDialog;
class CParam;
class FindRequestEvent;
class ParamDictionary;
struct UiServices;

// What the picker gives back: the entry, the instance (0 when none was chosen) and arm typed,
// and the register id built from them.
struct PickedRegister {
    const CParam* entry = nullptr;
    int offset = 0;
    int arm = 1;
    uint32_t id = 0;
};

// "Select Data Item": the dictionary's registers in a tree by directory, with the offset box
// and (when armCount is above 0) the arm box, and a search through the find dialog.
class CRegisterBrowseDlg : public StandardDialog {
public:
    struct Options {
        const CParam* current = nullptr;  // selected when the dialog opens
        int armCount = 0;                 // 0 hides the arm box
        bool numericOnly = false;         // leave text registers out
    };

    CRegisterBrowseDlg(wxWindow* parent, const ParamDictionary& dictionary, const UiServices& ui, Options options);
    ~CRegisterBrowseDlg() override;

    bool TransferDataFromWindow() override;

    // Set on OK: the entry picked (null for a directory node), the offset and arm typed.
    const CParam* result = nullptr;
    int offset = 0;
    int arm = 1;

    const RegisterTreeModel& Model() const { return model_; }
    wxTreeCtrl* Tree() const { return tree_; }
    wxTextCtrl* OffsetBox() const { return offsetBox_; }
    wxStaticText* OffsetLabel() const { return offsetLabel_; }
    wxTextCtrl* ArmBox() const { return armBox_; }  // null when hidden
    wxButton* SearchButton() const { return search_; }
    CFindDialog* FindDialog() const { return findDialog_.get(); }
    wxTreeItemId ItemOf(int node) const;

private:
    void Fill(const CParam* current);
    void OnSelectionChanged();
    void OnSearch();
    void OnFind(FindRequestEvent& event);
    const CParam* SelectedEntry() const;

    const ParamDictionary& dictionary_;
    const UiServices& ui_;
    Options options_;
    RegisterTreeModel model_;
    std::vector<wxTreeItemId> items_;  // by model node
    wxTreeCtrl* tree_ = nullptr;
    wxTextCtrl* offsetBox_ = nullptr;
    wxStaticText* offsetLabel_ = nullptr;
    wxTextCtrl* armBox_ = nullptr;
    wxButton* search_ = nullptr;
    wxWeakRef<CFindDialog> findDialog_;
};

// Runs the picker modally; the chosen register, or nullopt when cancelled or no register
// (a directory node) was chosen.
std::optional<PickedRegister> PickRegister(wxWindow* parent, const ParamDictionary& dictionary, const UiServices& ui,
                                           CRegisterBrowseDlg::Options options);

}  // namespace qs
