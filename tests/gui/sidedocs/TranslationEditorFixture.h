#pragma once
// The translation editor inside the test program: a main window of the test's own that hosts
// side documents (choice and connection of a program-data document, the recorded services), a
// document manager with a translation template made here, and ways to drive the editor's
// dialogs the way a user's typing and clicks reach them.
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/docmdi.h>
#include <wx/menu.h>
#include <wx/textctrl.h>

#include "GuiPump.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "app/common/DeviceDocumentHost.h"
#include "app/sidedocs/translations/CTransView.h"
#include "app/sidedocs/translations/CTranslationWxDoc.h"
#include "link/DX3Protocol.h"
#include "platform/BinaryArchive.h"
#include "programdata/CVexa3Doc.h"

namespace qs::test {

class HostFrame : public wxDocMDIParentFrame, public DeviceDocumentHost {
public:
    HostFrame(wxDocManager* manager, const UiServices& ui)
        : wxDocMDIParentFrame(manager, nullptr, wxID_ANY, "Translation host", wxDefaultPosition, wxSize(900, 640)),
          ui_(ui) {
        auto* bar = new wxMenuBar;
        auto* file = new wxMenu;
        file->Append(wxID_OPEN, "&Open...\tCtrl+O");
        file->Append(wxID_SAVE, "&Save\tCtrl+S");
        file->Append(wxID_SAVEAS, "Save &As...");
        file->Append(wxID_PRINT, "&Print...\tCtrl+P");
        file->Append(wxID_EXIT, "E&xit");
        bar->Append(file, "&File");
        Bind(wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, wxID_EXIT);
        auto* window = new wxMenu;
        window->Append(wxID_HIGHEST + 1, "&New Window");
        bar->Append(window, "&Window");
        SetMenuBar(bar);
    }

    bool HasDeviceDocument() const override { return device != nullptr; }
    CVexa3Doc* ChooseDeviceDocument() override { return device; }
    DX3Protocol* GetConnectedProtocol(CVexa3Doc* doc, bool requireOnline) override {
        doc->Connect(false);
        DX3Protocol* protocol = doc->GetProtocol();
        if (!protocol) return nullptr;
        protocol->SetAddress(doc->BaseAddress());
        if (doc->State() < CVexa3Doc::kStateReadOnly || (requireOnline && doc->State() < CVexa3Doc::kStateOnline))
            return nullptr;
        return protocol;
    }
    const UiServices& Services() const override { return ui_; }

    CVexa3Doc* device = nullptr;

private:
    const UiServices& ui_;
};

class TranslationEditorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        manager = new wxDocManager;
        docTemplate = new wxDocTemplate(manager, "Translation", "*.LGX", "", "LGX", "Translation", "Translation",
                                        wxCLASSINFO(CTranslationWxDoc), wxCLASSINFO(CTransView));
        frame = new HostFrame(manager, ui.services);
        wxTheApp->SetTopWindow(frame);
        frame->Show();
        PumpFor(50);
    }

    void TearDown() override {
        for (wxObject* doc : manager->GetDocuments()) static_cast<wxDocument*>(doc)->Modify(false);
        manager->CloseDocuments(true);
        wxTheApp->SetTopWindow(nullptr);
        frame->Destroy();
        PumpFor(50);
        delete manager;
    }

    static CTransView* ViewOf(wxDocument* doc) { return doc ? dynamic_cast<CTransView*>(doc->GetFirstView()) : nullptr; }

    CTransView* Open(const std::string& path) {
        CTransView* view = ViewOf(manager->CreateDocument(wxString::FromUTF8(path), wxDOC_SILENT));
        PumpFor(30);
        return view;
    }
    CTransView* New() {
        CTransView* view = ViewOf(manager->CreateDocument(wxString(), wxDOC_NEW));
        PumpFor(30);
        return view;
    }

    // A translation file of this program written to the test's folder.
    std::string Write(const std::string& name, const CTranslation& t) {
        const std::string path = dir.File(name);
        EXPECT_TRUE(t.Save(path, ui.services));
        return path;
    }

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

    // Whether the frame's window enables a command, as the menu would show it.
    static bool Enabled(wxWindow* window, int id) {
        wxUpdateUIEvent event(id);
        event.SetEventObject(window);
        window->ProcessWindowEvent(event);
        return event.GetSetEnabled() ? event.GetEnabled() : true;
    }

    RecordingUi ui;
    TempDir dir;
    wxDocManager* manager = nullptr;
    wxDocTemplate* docTemplate = nullptr;
    HostFrame* frame = nullptr;
};

}  // namespace qs::test
