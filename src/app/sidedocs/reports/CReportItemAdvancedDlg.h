#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/common/StandardDialog.h"

class wxButton;
class wxCheckBox;
class wxChoice;
class wxTextCtrl;

namespace qs {

class CParam;
class ParamDictionary;
struct PickedRegister;
struct UiServices;

// "Advanced Report Item Options": the entry's own print format, the condition it is printed
// on, and the reference register that condition or its offset reads.
class CReportItemAdvancedDlg : public StandardDialog {
public:
    static constexpr int kFormatId = 1006;
    static constexpr int kConditionId = 1008;
    static constexpr int kReferenceId = 1005;
    static constexpr int kChangeId = 1004;
    static constexpr int kOffsetId = 1007;
    static constexpr int kHelpId = 330;

    // Asks the user for a register, starting on `current`; nullopt when none was picked.
    using RegisterChooser = std::function<std::optional<PickedRegister>(wxWindow* parent, const CParam* current)>;

    // `dictionary` and `ui` outlive the dialog. `choose` defaults to the register picker.
    CReportItemAdvancedDlg(wxWindow* parent, const ParamDictionary& dictionary, const UiServices& ui,
                           RegisterChooser choose = {});

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    wxTextCtrl* FormatBox() const { return format_; }
    wxChoice* ConditionBox() const { return condition_; }
    wxTextCtrl* ReferenceBox() const { return reference_; }
    wxButton* ChangeButton() const { return change_; }
    wxCheckBox* OffsetBox() const { return offset_; }

    // Given by the item dialog.
    int itemType = 0;
    const CParam* itemEntry = nullptr;
    // Edited here.
    std::string format = "%s";
    int condition = 0;
    bool useReferenceOffset = false;
    uint32_t referenceId = 0;
    const CParam* referenceEntry = nullptr;

    // Shows the reference register and whether its value may be the entry's offset.
    void UpdateReference();
    void OnChangeReference();

private:
    const ParamDictionary& dictionary_;
    const UiServices& ui_;
    RegisterChooser choose_;
    wxTextCtrl* format_ = nullptr;
    wxChoice* condition_ = nullptr;
    wxTextCtrl* reference_ = nullptr;
    wxButton* change_ = nullptr;
    wxCheckBox* offset_ = nullptr;
};

}  // namespace qs
