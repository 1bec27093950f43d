#pragma once
// Quillset's shell with the side-document editors as the program registers them: new documents
// made by the main window's commands, files opened by the document manager, the status panes,
// a program-data document for the editors' device commands to go through, and ways to drive the
// editors' dialogs the way a user's typing and clicks reach them.
#include <functional>
#include <string>
#include <utility>

#include <wx/listctrl.h>
#include <wx/textctrl.h>

#include "ShellFixture.h"
#include "app/shell/CMainStatusBar.h"
#include "app/shell/CommandIds.h"
#include "app/sidedocs/carddb/CDatabaseView.h"
#include "app/sidedocs/carddb/CDatabaseWxDoc.h"
#include "app/sidedocs/translations/CTransView.h"
#include "app/sidedocs/translations/CTranslationWxDoc.h"

namespace qs::test {

class SideDocumentShell : public ShellFixture {
protected:
    // What a main-window command made: the document the manager holds last.
    wxDocument* RunNew(int command) {
        EXPECT_TRUE(frame->Commands().Run(command));
        PumpFor(30);
        const wxList& docs = manager->GetDocuments();
        return docs.IsEmpty() ? nullptr : static_cast<wxDocument*>(docs.GetLast()->GetData());
    }
    wxDocument* OpenFile(const std::string& path) {
        wxDocument* doc = manager->CreateDocument(wxString::FromUTF8(path), wxDOC_SILENT);
        PumpFor(30);
        return doc;
    }

    // ---- card databases
    CDatabaseWxDoc* NewDatabase(std::initializer_list<const char*> records = {}) {
        auto* doc = dynamic_cast<CDatabaseWxDoc*>(RunNew(ID_NEW_DRIVER_DATABASE));
        if (!doc) return nullptr;
        for (const char* r : records) doc->Core().AddRecord(r);
        doc->UpdateAllViews();
        return doc;
    }
    static CDatabaseView* CardView(wxDocument* doc) {
        return doc ? dynamic_cast<CDatabaseView*>(doc->GetFirstView()) : nullptr;
    }
    static void FocusRow(const CDatabaseView& view, long row) {
        view.List()->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                                  wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    }

    // ---- translations
    static CTransView* TransView(wxDocument* doc) { return doc ? dynamic_cast<CTransView*>(doc->GetFirstView()) : nullptr; }
    CTransView* NewTranslation() { return TransView(RunNew(ID_NEW_TRANSLATION)); }
    CTransView* OpenTranslation(const std::string& path) { return TransView(OpenFile(path)); }
    // A translation file of this program written to the test's folder.
    std::string Write(const std::string& name, const CTranslation& t) {
        const std::string path = dir.File(name);
        EXPECT_TRUE(t.Save(path, ui.services));
        return path;
    }

    // ---- the main window
    // The texts of its connection-state and link panes once it has brought them up to date.
    std::pair<std::string, std::string> Panes() {
        frame->UpdateConnectionPane();
        const CMainStatusBar* bar = frame->StatusPanes();
        return {bar->GetStatusText(CMainStatusBar::kStatePane).utf8_string(),
                bar->GetStatusText(CMainStatusBar::kLinkPane).utf8_string()};
    }
    // Whether a menu command of the main window is enabled, as its menus and toolbars show it.
    bool Enabled(int id) {
        wxUpdateUIEvent event(id);
        event.SetEventObject(frame);
        frame->ProcessWindowEvent(event);
        return event.GetSetEnabled() && event.GetEnabled();
    }
    // A menu command or toolbar button of the main window chosen.
    void Choose(int id) {
        wxCommandEvent event(wxEVT_MENU, id);
        event.SetEventObject(frame);
        frame->ProcessWindowEvent(event);
        PumpFor(30);
    }
    // A program-data document on TCP/IP to `host`, open in the shell for side documents to go through.
    CVexa3WxDoc* OpenDeviceDocument(const std::string& host) { return Open(WriteDocument("device.D3X", host)); }

    // ---- dialogs
    // A dialog run as if the user had typed into it and pressed OK: the dialog's own check
    // decides, and a refused input leaves it open (Cancel is what the runner then returns).
    template <class Dialog>
    static std::function<int(wxDialog&)> Accepting(std::function<void(Dialog&)> fill) {
        return [fill](wxDialog& dialog) {
            auto* typed = dynamic_cast<Dialog*>(&dialog);
            if (!typed) return static_cast<int>(wxID_CANCEL);
            typed->TransferDataToWindow();
            fill(*typed);
            return typed->Validate() && typed->TransferDataFromWindow() ? static_cast<int>(wxID_OK)
                                                                       : static_cast<int>(wxID_CANCEL);
        };
    }
    static void Type(wxTextCtrl* field, const wxString& text) {
        field->SetValue(text);
        field->MarkDirty();
    }

    TempDir& dir = home_;
};

}  // namespace qs::test
