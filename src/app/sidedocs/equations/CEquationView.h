#pragma once
#include <functional>
#include <memory>
#include <string>

#include <wx/docview.h>

#include "app/shell/CommandIds.h"

class wxDialog;
class wxListCtrl;
class wxMenu;
class wxPrintout;

namespace qs {

class CEquationDlg;
class CEquationWxDoc;
class EquationEditList;
class SideDocumentHost;

// The equation set's editor: its lines one per row. A double-click or Enter edits the current
// line; the window's menu inserts, edits, deletes, moves and transfers lines, and the Edit
// menu's Cut, Copy and Paste carry a line through the clipboard. It reaches the device
// through the main window that hosts it (SideDocumentHost).
class CEquationView : public wxView {
    wxDECLARE_DYNAMIC_CLASS(CEquationView);

public:
    enum : int {
        ID_INSERT_NEW = CommandNumber(32880),
        ID_EDIT_LINE = CommandNumber(32881),
        ID_DELETE_LINE = CommandNumber(32905),
        ID_MOVE_UP = CommandNumber(32906),
        ID_MOVE_DOWN = CommandNumber(32907),
    };
    static constexpr int kHelpId = 400;
    static constexpr int kColumnWidth = 1500;
    static constexpr const char* kMenuTitle = "&Equation Set";
    static constexpr const char* kDownloaded = "Equation set downloaded successfully";

    CEquationView();
    ~CEquationView() override;

    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC*) override {}
    void OnUpdate(wxView* sender, wxObject* hint) override;
    bool OnClose(bool deleteWindow) override;
    wxPrintout* OnCreatePrintout() override;

    static wxMenu* CreateMenu();

    CEquationWxDoc* Doc() const;
    wxListCtrl* List() const { return list_; }
    EquationEditList* Lines() const { return lines_.get(); }
    long CurrentRow() const;
    void SelectRow(long row);

    // The commands.
    bool InsertLine();
    bool EditLine();
    void DeleteLine();
    void MoveLine(bool up);
    void CopyLine(bool cut);
    void PasteLine();
    bool CanPaste() const;
    void OnOptions();
    void OnReadAll();
    void OnDumpAll();
    void OnFilePrint();
    bool CanTransfer() const;
    std::unique_ptr<wxPrintout> MakePrintout() const;

    // How the line and options dialogs are run (ShowModal by default); tests put their own.
    std::function<int(wxDialog&)> runDialog;

private:
    void Refill();
    void Changed();
    void BindCommands(wxWindow* frame);
    void UpdateMenu(bool removing);
    SideDocumentHost* Host() const;

    wxListCtrl* list_ = nullptr;
    std::unique_ptr<EquationEditList> lines_;
};

}  // namespace qs
