#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <wx/docview.h>

#include "app/shell/CommandIds.h"
#include "app/sidedocs/reports/CReportItemDlg.h"
#include "sidedocs/reports/ReportDestination.h"
#include "sidedocs/reports/ReportEditor.h"

class wxDialog;
class wxMenu;
class wxPrintout;

namespace qs {

class CReportGrid;
class CReportWxDoc;
class SideDocumentHost;
struct UiServices;

// The report editor: the report's page grid with its entries, which the user places, moves
// and copies with the mouse, the keys, the clipboard and drag and drop, edits through the
// entry and report dialogs, prints as a proof, and reads from or sends to the device through
// the main window that hosts it.
class CReportView : public wxView {
    wxDECLARE_DYNAMIC_CLASS(CReportView);

public:
    enum : int {
        ID_INSERT_NEW = CommandNumber(32880),
        ID_EDIT_ITEM = CommandNumber(32881),
        ID_INSERT_HERE = CommandNumber(33238),
        ID_PASTE_HERE = CommandNumber(33239),
        ID_MENU_POSITION = CommandNumber(34051),
    };
    static constexpr int kHelpId = 300;
    static constexpr const char* kMenuTitle = "&Report";
    static constexpr const char* kDownloaded = "Report downloaded successfully";
    static constexpr const char* kCharsetRefused = CReportItemDlg::kCharsetRefused;

    CReportView();
    ~CReportView() override;

    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC*) override {}
    void OnUpdate(wxView* sender, wxObject* hint) override;
    bool OnClose(bool deleteWindow) override;
    wxPrintout* OnCreatePrintout() override;

    static wxMenu* CreateMenu();

    CReportWxDoc* Doc() const;
    CReportGrid* Grid() const { return grid_; }
    ReportEditor* Editor() const { return editor_.get(); }

    // The commands.
    void InsertNew(ReportCell cell);
    // The properties of `item` (the focused entry when null); false when there is none or the
    // dialog was cancelled.
    bool EditItem(ReportItem* item = nullptr);
    void DeleteItem();
    void CopyItem(bool cut);
    // At the grid's top-left visible cell, or at `cell` (Paste Here) even when it is taken.
    void Paste(std::optional<ReportCell> cell = std::nullopt);
    bool CanPaste() const;
    bool CanCopy() const;
    void OnOptions();
    void OnReadAll();
    void OnDumpAll();
    void OnFilePrint();
    bool CanTransfer() const;
    std::unique_ptr<wxPrintout> MakePrintout() const;

    // After the editor changed the report: the document is marked and the grid redrawn.
    void Changed();
    // "Line: 001  Col: 001" of the focused entry, or of a cell, in the status bar.
    void ShowPosition();
    void ShowCell(ReportCell cell);
    // A dropped entry block, or else plain text, put at `cell`; false when nothing was placed.
    bool Drop(ReportCell cell, const std::string& block, const wxString& text);

    // How the dialogs are run (ShowModal by default) and the report slot is chosen (the
    // "Select Report" box by default); tests put their own.
    std::function<int(wxDialog&)> runDialog;
    ReportSlotChoice chooseSlot;

private:
    void BindCommands(wxWindow* frame);
    void UpdateMenu(bool removing);
    SideDocumentHost* Host() const;
    ReportSlotChoice SlotChoice(const UiServices& ui) const;

    CReportGrid* grid_ = nullptr;
    std::unique_ptr<ReportEditor> editor_;
};

}  // namespace qs
