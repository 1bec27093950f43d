#pragma once
#include <functional>
#include <memory>

#include <wx/docview.h>
#include <wx/font.h>

#include "sidedocs/translations/TranslationSearch.h"

class wxDialog;
class wxListCtrl;
class wxMenu;
class wxPrintout;

namespace qs {

class CFindDialog;
class CTranslationWxDoc;
class SideDocumentHost;

// The translation editor: the controller's texts beside their translations, one row per
// literal, in the font of the translation's character set. A double-click or Enter edits a
// row's translation; the window's menu reads the whole translation from the controller into a
// new document, writes it to the controller, edits the name and character set and finds text;
// File Print prints it. Opening a file that loading upgraded backs the old file up as ".LXB"
// and saves the upgraded one under its name. It reaches the device through the main window
// that hosts it (SideDocumentHost).
class CTransView : public wxView {
    wxDECLARE_DYNAMIC_CLASS(CTransView);

public:
    static constexpr int kHelpId = 200;
    static constexpr int kColumnWidth = 280;
    static constexpr const char* kMenuTitle = "&Translation";
    static constexpr const char* kNotFound = "Text Not Found";
    static constexpr const char* kDownloaded = "Translation text downloaded successfully";
    static constexpr const char* kBackupFailed =
        "Unable to create backup copy.. Select Save As.. to preserve original";
    static constexpr const char* kBackedUpPrefix = "Original file backed up with extension ";

    CTransView();
    ~CTransView() override;

    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC*) override {}
    void OnUpdate(wxView* sender, wxObject* hint) override;
    bool OnClose(bool deleteWindow) override;
    // What the document manager's File Print and Print Preview print.
    wxPrintout* OnCreatePrintout() override;

    // The window's own menu, as the main window shows it while a translation is open.
    static wxMenu* CreateMenu();

    CTranslationWxDoc* Doc() const;
    wxListCtrl* List() const;
    // What a cell shows: the literal (column 0) or its translation (column 1).
    wxString CellText(long row, int column) const;
    const wxFont& ListFont() const { return font_; }
    bool InitialUpdateDone() const { return initialUpdateDone_; }
    long FocusedRow() const;
    CFindDialog* FindDialog() const { return find_; }
    int SearchPosition() const { return search_.Position(); }

    // The commands.
    bool EditRow(long row);
    void OnOptions();
    void OnFind();
    // One request of the find dialog; true when a row was found (and selected).
    bool OnFindRequest(int kind, CFindDialog& dialog);
    void OnReadAll();
    void OnDumpAll();
    void OnFilePrint();
    bool CanTransfer() const;
    // What File Print prints.
    std::unique_ptr<wxPrintout> MakePrintout() const;

    // How the edit and options dialogs are run (ShowModal by default); tests put their own.
    std::function<int(wxDialog&)> runDialog;

private:
    class Rows;

    void FirstUpdate();
    void ApplyFont();
    void BindCommands(wxWindow* frame);
    void UpdateMenu(bool removing);
    SideDocumentHost* Host() const;

    Rows* list_ = nullptr;
    wxFont font_;
    bool initialUpdateDone_ = false;
    CFindDialog* find_ = nullptr;
    TranslationSearch search_;
};

}  // namespace qs
