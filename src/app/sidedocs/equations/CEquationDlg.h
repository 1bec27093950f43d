#pragma once
#include <functional>
#include <optional>

#include "app/common/StandardDialog.h"
#include "sidedocs/equations/EquationLineForm.h"

class wxCheckBox;
class wxChoice;
class wxStaticText;
class wxTextCtrl;

namespace qs {

struct PickedRegister;
struct UiServices;

// "Edit Equation Line": the destination, its index, the expression typed or built from the
// keypad and the register picker, and "Disable". The line text below shows what the line
// reads as, or why it does not parse; OK keeps the dialog open until it parses.
class CEquationDlg : public StandardDialog {
public:
    enum : int {
        kDestinationId = 1066,
        kIndexId = 1006,
        kExpressionId = 103,
        kLineTextId = 105,
        kDisableId = 1065,
        kRegisterId = 1059,
        kFirstKeyId = 1002,
    };
    static constexpr int kHelpId = 410;
    static constexpr int kPickerArms = 6;
    // The keypad's captions, in the order of their ids from kFirstKeyId.
    static constexpr const char* kKeys[] = {"0",  "1",  "2",  "3",   "4",   "5",   "6",   "7",   "8",  "9",
                                            ".",  "+",  "-",  "*",   "/",   "<",   "<=",  ">",   ">=", "=",
                                            "!=", "NOT", "ABS", "AND", "POW", "OR", "IF", "XOR", "ENDIF"};

    // `line` null: a new line. `context` (the set's) and `ui` outlive the dialog.
    CEquationDlg(wxWindow* parent, const CEquation* line, const EquationContext& context, const UiServices& ui);

    bool TransferDataFromWindow() override;

    // The line as edited (its text set) once OK was taken.
    const CEquation& Line() const { return form_.Line(); }
    const EquationLineForm& Form() const { return form_; }

    // A keypad caption at the caret, as its button does.
    void PressKey(const char* caption);
    // The picker's result put in at the caret.
    void InsertRegister(uint32_t id);
    void ChooseDestination(int type);

    // How the register picker runs (the dictionary's picker by default); tests put their own.
    std::function<std::optional<PickedRegister>()> pickRegister;

    wxChoice* DestinationList() const { return destination_; }
    wxTextCtrl* IndexField() const { return index_; }
    wxTextCtrl* ExpressionField() const { return expression_; }
    wxStaticText* LineTextLabel() const { return lineText_; }

private:
    void ShowForm();
    void TakeIndex();
    void OnRegister();

    EquationLineForm form_;
    const EquationContext context_;
    const UiServices& ui_;
    wxChoice* destination_ = nullptr;
    wxTextCtrl* index_ = nullptr;
    wxTextCtrl* expression_ = nullptr;
    wxStaticText* lineText_ = nullptr;
    wxCheckBox* disable_ = nullptr;
};

}  // namespace qs
