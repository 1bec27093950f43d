#pragma once
#include <wx/listctrl.h>

#include <functional>
#include <string>

#include "appmodel/programdata/FrameSelection.h"
#include "appmodel/programdata/ParamEditFlow.h"

namespace qs {

class CParam;
class CVexa3WxDoc;
class PrintSheet;

// The right pane of a program-data document's window: one row per program code of the
// subdirectory the tree has selected, with the value of the selected instance on the selected
// arm. Enter or a double-click opens the code's editor; what it accepts is stored and, online,
// written to the device, and the row then shows what the document keeps (the device's echo).
// The frame fills it again whenever the selection or the document's values change.
class CParamListView : public wxListCtrl {
public:
    enum Column : int { kNameColumn = 0, kValueColumn, kCommentsColumn, kLevelColumn };
    static constexpr int kHelpId = 105;

    CParamListView(wxWindow* parent, CVexa3WxDoc& document);
    CParamListView(const CParamListView&) = delete;
    CParamListView& operator=(const CParamListView&) = delete;

    // Takes the tree's selection (when it differs from the one shown) and fills the list again.
    void SelectionChanged(const FrameSelection& selection);
    // Rebuilds the rows of the subdirectory shown, keeping the selected row when the last list
    // filled (by any document's view) was of the same kind.
    void Fill();

    // Edits the code of a row as Enter and a double-click do; false when the row has none.
    bool EditRow(long row);
    // The row with the focus, -1 when none.
    long FocusedRow() const;

    const FrameSelection& Shown() const { return shown_; }
    CParam* RowParam(long row) const;
    std::string CellText(long row, int column) const;

    // How the editor of a code is run (the edit dialogs by default); tests put their own.
    void SetDialogRunner(ParamEditFlow::DialogRunner runner) { runDialog_ = std::move(runner); }
    // What Tab does: by default the focus moves to the pane left of this one.
    void SetTreeActivator(std::function<void()> activate) { activateTree_ = std::move(activate); }
    // The outcome of the last edit, for the window that wants to say more.
    ParamEditFlow::Outcome LastOutcome() const { return lastOutcome_; }

    // A printout: the header line (document path and `when`), then the subdirectory shown (or,
    // without one, the directory shown) when `selectionOnly`, else the whole document.
    void Print(PrintSheet& sheet, bool selectionOnly, const std::string& when) const;

private:
    void SetColumns();
    void AddRow(long row, CParam& param);
    void RefreshRow(long row);
    int ValueIndex() const;
    void ActivateTree();
    void OnCharHook(wxKeyEvent& event);
    void OnActivated(wxListEvent& event);

    CVexa3WxDoc& doc_;
    FrameSelection shown_;
    ParamEditFlow::DialogRunner runDialog_;
    std::function<void()> activateTree_;
    ParamEditFlow::Outcome lastOutcome_ = ParamEditFlow::Outcome::NotEditable;
    bool editing_ = false;
};

}  // namespace qs
