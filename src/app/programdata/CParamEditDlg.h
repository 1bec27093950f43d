#pragma once
#include "app/common/StandardDialog.h"

#include "appmodel/programdata/ParamEditRequest.h"
#include "platform/UiServices.h"

class wxBoxSizer;
class wxChoice;
class wxSizer;
class wxStaticText;
class wxTextCtrl;

namespace qs {

// The editor of one program code's value: a value field, or the option list of an option
// code, with the code's current value, its range or length, its help and, at its first
// instance, its security level. The edit flow fills the request; OK checks the input and
// puts the new value (bytes in the document's code page) and level into it. A refused input
// is said and the dialog stays open.
class CParamEditDlg : public StandardDialog {
public:
    // Control ids, as the program's help and tests know them.
    enum : int {
        kCaptionId = 1087,
        kCurrentId = 1005,
        kNewId = 1228,
        kOptionsId = 1192,
        kPromptId = 1193,
        kHelpId = 1077,
        kLevelId = 1073,
    };
    static constexpr const char* kNotConvertibleMessage =
        "The value has characters the document's code page cannot hold.";

    CParamEditDlg(wxWindow* parent, ParamEditRequest& request);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;
    // Loads the controls, then gives the focus to the first field, its text selected, so that
    // what is typed replaces the value and Enter takes it.
    void InitDialog() override;

    const ParamEditRequest& Request() const { return request_; }
    wxStaticText* CaptionText() const { return caption_; }
    wxTextCtrl* CurrentField() const { return current_; }
    // Null for an option code.
    wxTextCtrl* NewField() const { return newValue_; }
    // Null for other codes.
    wxChoice* OptionList() const { return options_; }
    wxStaticText* PromptText() const { return prompt_; }
    wxStaticText* HelpText() const { return help_; }
    wxChoice* LevelList() const { return level_; }

protected:
    // Only the dialog window; the subclass lays out its controls with the pieces below and
    // calls Finish.
    struct Bare {};
    CParamEditDlg(wxWindow* parent, ParamEditRequest& request, Bare);

    wxStaticText* AddCaption(wxSizer* column, int id);
    wxStaticText* AddHelp(wxSizer* column);
    // The level row and the OK, Cancel and Help buttons.
    void AddLevelAndButtons(wxSizer* column);
    void Finish(wxSizer* column);

    void LevelToWindow();
    // The level chosen, -1 when none or locked.
    int LevelFromWindow() const;

    // A text of the document for display: bytes in its code page.
    wxString Shown(const std::string& bytes) const;
    // The services the request brings, to say what the editor says.
    const UiServices& Ui() const { return request_.ui ? *request_.ui : noServices_; }

    ParamEditRequest& request_;
    wxStaticText* caption_ = nullptr;
    wxTextCtrl* current_ = nullptr;
    wxStaticText* prompt_ = nullptr;
    wxStaticText* help_ = nullptr;
    wxChoice* level_ = nullptr;
    // The field the dialog opens on: the first of its tab order.
    wxWindow* firstField_ = nullptr;

private:
    bool ValueFromWindow(std::string& value);

    // For a request that brings none: their fallbacks.
    UiServices noServices_;

    wxTextCtrl* newValue_ = nullptr;
    wxChoice* options_ = nullptr;
};

}  // namespace qs
