#pragma once
#include <wx/docview.h>
#include <wx/font.h>
#include <wx/weakref.h>

#include "sidedocs/carddb/CardEditFlow.h"

class wxListCtrl;
class wxListEvent;

namespace qs {

class CDatabaseWxDoc;
class CFindDialog;
class FindRequestEvent;
class SideDocumentHost;
struct UiServices;

// The card database editor: one row per card (key, the HID card number read from the key, PIN
// and the three fields) and an empty row after the last for a new card. A double-click or Enter
// edits the row, '.' deletes the card at the cursor; Find searches the records, Read All reads
// the controller's database into a new document and Dump All writes this one to it.
class CDatabaseView : public wxView {
    wxDECLARE_DYNAMIC_CLASS(CDatabaseView);

public:
    enum Column : int { kKeyColumn = 0, kHidColumn, kPinColumn, kField1Column, kField2Column, kField3Column };
    static constexpr int kColumnCount = 6;
    static constexpr int kHelpId = 200;
    static constexpr const char* kNotFoundMessage = "Text Not Found";
    static constexpr const char* kDownloadedMessage = "Database downloaded successfully";

    CDatabaseView();
    ~CDatabaseView() override;

    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC*) override {}
    // Fills the list again from the document.
    void OnUpdate(wxView* sender, wxObject* hint) override;
    bool OnClose(bool deleteWindow) override;
    void OnActivateView(bool activate, wxView* activeView, wxView* deactiveView) override;
    wxPrintout* OnCreatePrintout() override;

    // Edits record `row` or, on the row after the last, adds a card; true when the document
    // changed (it is then marked modified and every view filled again).
    bool EditRecord(long row);
    // Deletes the card at the cursor; on the new-card row it beeps.
    void OnEditClear();
    // A new document with the controller's database, shown when the read succeeded.
    void OnReadAll();
    // This database to the controller.
    void OnDumpAll();
    // File Print: the print dialog with every page, then the printing.
    void OnPrint();
    // Opens the find dialog (made on first use).
    void OnFind();
    // What a request of the find dialog does; true when a card was found and selected.
    bool FindRequest(int request, CFindDialog& dialog);
    // Whether Read All and Dump All can run: a program-data document is open.
    bool DeviceCommandsEnabled() const;
    // Whether Delete can run: the cursor is on a card.
    bool ClearEnabled() const;

    CDatabaseWxDoc* Document() const;
    wxListCtrl* List() const { return list_; }
    CFindDialog* FindDialog() const { return find_.get(); }
    // The row with the cursor, -1 when none.
    long FocusedRow() const;
    wxString CellText(long row, int column) const;
    // How a card is edited (the edit dialog unless replaced).
    void SetDialogRunner(CardEditFlow::DialogRunner runner) { runDialog_ = std::move(runner); }

private:
    SideDocumentHost* Host() const;
    // The services of its document (asked only while it has one).
    const UiServices& Services() const;
    void BindCommands();
    void SizeColumns();
    void SelectRow(long row);
    void ShowStatus();
    void OnCharHook(wxKeyEvent& event);
    void OnFindEvent(FindRequestEvent& event);

    wxListCtrl* list_ = nullptr;
    wxFont listFont_;
    wxWeakRef<CFindDialog> find_;
    // Where the last search stopped, for Find Next.
    int searchPosition_ = -1;
    CardEditFlow::DialogRunner runDialog_;
};

}  // namespace qs
