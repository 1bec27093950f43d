#include "app/tools/CEmulatorView.h"

#include <wx/app.h>
#include <wx/choice.h>
#include <wx/filedlg.h>
#include <wx/mimetype.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/weakref.h>

#include "app/common/CodePageText.h"
#include "app/programdata/CVexa3WxDoc.h"
#include "app/shell/CMainFrame.h"
#include "app/shell/CommandIds.h"
#include "app/shell/ContextHelp.h"
#include "app/tools/CTerminalFrame.h"
#include "appmodel/common/AppServices.h"
#include "appmodel/terminal/CannedCommands.h"
#include "appmodel/terminal/TerminalSession.h"
#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

wxIMPLEMENT_DYNAMIC_CLASS(CEmulatorView, wxView);

namespace {

// GTK text controls break lines at LF; the transcript's lines end in CR LF.
wxString ForDisplay(const std::string& text, int codePage) {
    std::string lines;
    lines.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines.push_back(text[i]);
    return FromCodePage(lines, codePage);
}

}  // namespace

CEmulatorView::CEmulatorView() = default;

void CEmulatorView::Later(std::function<void()> action) {
    // Through the application, where every loop (the main one, a progress window's pump, a
    // test's) finds it; it is dropped when the view has gone meanwhile.
    wxWeakRef<CEmulatorView> self(this);
    wxTheApp->CallAfter([self, action = std::move(action)] {
        if (self) action();
    });
}

CEmulatorView::~CEmulatorView() {
    // The session says "Ready" and closes the log; its macros end with it.
    session_.reset();
    while (busy_ > 0) SetBusy(false);
}

CEmulatorView* CEmulatorView::FindOpen(wxDocManager& manager) {
    for (wxDocument* doc : manager.GetDocumentsVector())
        for (wxView* view : doc->GetViewsVector())
            if (auto* terminal = dynamic_cast<CEmulatorView*>(view)) return terminal;
    return nullptr;
}

bool CEmulatorView::OpenOrActivate(CVexa3WxDoc& doc) {
    wxBusyCursor wait;
    wxDocManager* manager = doc.GetDocumentManager();
    if (!manager) return false;
    if (CEmulatorView* open = FindOpen(*manager)) {
        if (CTerminalFrame* frame = open->Frame()) frame->Activate();
        return true;
    }
    for (wxDocTemplate* t : manager->GetTemplatesVector()) {
        if (t->GetViewClassInfo() != wxCLASSINFO(CEmulatorView)) continue;
        wxView* view = t->CreateView(&doc, wxDOC_SILENT);
        if (!view) return false;
        if (auto* terminal = dynamic_cast<CEmulatorView*>(view)) terminal->InitialUpdate();
        return true;
    }
    return false;
}

CVexa3WxDoc* CEmulatorView::Doc() const { return dynamic_cast<CVexa3WxDoc*>(GetDocument()); }

int CEmulatorView::CodePage() const {
    const CVexa3WxDoc* doc = Doc();
    return doc ? doc->Core().CodePage() : 0;
}

CTerminalFrame* CEmulatorView::Frame() const { return dynamic_cast<CTerminalFrame*>(GetFrame()); }
wxTextCtrl* CEmulatorView::Entry() const { return Frame() ? Frame()->Entry() : nullptr; }
wxTextCtrl* CEmulatorView::Transcript() const { return Frame() ? Frame()->Transcript() : nullptr; }
wxChoice* CEmulatorView::ArmList() const { return Frame() ? Frame()->ArmList() : nullptr; }

wxString CEmulatorView::Caption() const {
    wxString caption = kTitlePrefix;
    if (const wxDocument* doc = GetDocument()) caption += doc->GetUserReadableName();
    return caption;
}

bool CEmulatorView::OnCreate(wxDocument* doc, long flags) {
    auto* device = dynamic_cast<CVexa3WxDoc*>(doc);
    CMainFrame* parent = CMainFrame::Instance();
    if (!device || !parent || !wxView::OnCreate(doc, flags)) return false;
    auto* frame = new CTerminalFrame(doc, this, parent);
    SetFrame(frame);
    const AppServices& services = device->Services();
    session_ = std::make_unique<TerminalSession>(device->Core(), services.ui, *this, services.launcher);
    BindEvents();
    frame->SetLabel(Caption());
    frame->Show();
    return true;
}

void CEmulatorView::BindEvents() {
    CTerminalFrame* frame = Frame();
    // The entry's text is read and rewritten once the toolkit has finished changing it: the
    // change event comes while GTK is still inside its insertion.
    frame->Entry()->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        if (entryPending_) return;
        entryPending_ = true;
        Later([this] {
            entryPending_ = false;
            OnEntryText();
        });
    });
    frame->ArmList()->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) { session_->SelectArm(e.GetSelection()); });
    // Commands of the menu bar reach the active view before its frame (and before the
    // document manager, which would take Undo for its own).
    Bind(wxEVT_MENU, [this](wxCommandEvent& e) { session_->RunCanned(e.GetId()); }, CannedCommands::kFirstId,
         CannedCommands::kLastId);
    for (int id : {static_cast<int>(ID_EDIT_CUT), static_cast<int>(ID_EDIT_COPY), static_cast<int>(ID_EDIT_PASTE),
                   static_cast<int>(wxID_UNDO)}) {
        Bind(wxEVT_MENU, [this](wxCommandEvent& e) {
            if (!Frame() || !Frame()->Edit(e.GetId())) e.Skip();
        }, id);
        Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(Frame() && Frame()->CanEdit(e.GetId())); }, id);
    }
}

void CEmulatorView::InitialUpdate() {
    if (initialised_) return;
    initialised_ = true;
    OnChangeFilename();
    session_->Start();
    TranscriptChanged();
    SetHelpId(kHelpId);
    if (CTerminalFrame* frame = Frame()) frame->Activate();
    FocusEntry();
}

void CEmulatorView::OnUpdate(wxView*, wxObject*) {
    if (!initialised_) {
        InitialUpdate();
        return;
    }
    session_->OnUpdate();
    SetHelpId(kHelpId);
}

bool CEmulatorView::OnClose(bool) {
    // Only the terminal goes; its document stays open.
    Activate(false);
    return true;
}

void CEmulatorView::OnChangeFilename() {
    if (wxWindow* frame = GetFrame()) frame->SetLabel(Caption());
}

void CEmulatorView::OnEntryText() {
    wxTextCtrl* entry = Entry();
    if (!entry || !session_) return;
    const std::optional<std::string> bytes = ToCodePage(entry->GetValue(), CodePage());
    if (!bytes) {
        // A character the document's code page cannot carry is not taken.
        wxBell();
        ShowEntry(session_->Entry(), session_->Entry().size());
        return;
    }
    session_->OnEntryChanged(*bytes);
    // Typing goes on where it was, once a line and its windows are done.
    if (entry->IsEnabled() && wxWindow::FindFocus() != entry && !session_->MacroRunning()) FocusEntry();
}

// ---- TerminalHost

void CEmulatorView::ShowEntry(const std::string& text, size_t caret) {
    wxTextCtrl* entry = Entry();
    if (!entry) return;
    const int codePage = CodePage();
    entry->ChangeValue(FromCodePage(text, codePage));
    entry->SetInsertionPoint(static_cast<long>(FromCodePage(text.substr(0, caret), codePage).length()));
}

void CEmulatorView::FocusEntry() {
    if (wxTextCtrl* entry = Entry()) entry->SetFocus();
}

void CEmulatorView::TranscriptChanged() {
    wxTextCtrl* transcript = Transcript();
    if (!transcript || !session_) return;
    transcript->ChangeValue(ForDisplay(session_->Transcript(), CodePage()));
    transcript->SetInsertionPointEnd();
    transcript->ShowPosition(transcript->GetLastPosition());
}

void CEmulatorView::ArmsChanged() {
    wxChoice* arms = ArmList();
    if (!arms || !session_) return;
    wxArrayString names;
    for (const std::string& name : session_->ArmList()) names.Add(name);
    if (arms->GetStrings() != names) arms->Set(names);
    arms->SetSelection(session_->ArmIndex());
}

void CEmulatorView::SetHelpId(int id) { ContextHelp::SetId(GetFrame(), id); }

std::optional<std::string> CEmulatorView::ChooseMacroFile() {
    // Macro files carry their extension in either case.
    wxFileDialog dialog(GetFrame(), "Open", wxString(), wxString(),
                        "Macro Files (.MAC)|*.mac;*.MAC|All Files (*.*)|*.*", wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return dialog.GetPath().utf8_string();
}

void CEmulatorView::PostNextLine() {
    Later([this] {
        if (!session_) return;
        session_->RunPostedLine();
        if (!session_->MacroRunning()) FocusEntry();
    });
}

void CEmulatorView::CloseTerminal() {
    Later([this] {
        if (wxWindow* frame = GetFrame()) frame->Close();
    });
}

void CEmulatorView::Pause(int ms) {
    if (ms > 0) wxMilliSleep(static_cast<unsigned long>(ms));
}

void CEmulatorView::Beep() { wxBell(); }

void CEmulatorView::SetBusy(bool busy) {
    if (busy) {
        ++busy_;
        wxBeginBusyCursor();
    } else if (busy_ > 0) {
        --busy_;
        if (wxIsBusy()) wxEndBusyCursor();
    }
}

void CEmulatorView::OpenWithDefaultProgram(const std::string& path) {
    if (wxLaunchDefaultApplication(wxString::FromUTF8(path))) return;
    if (const CVexa3WxDoc* doc = Doc()) doc->Services().ui.Message("No program to open " + path + " was found.");
}

}  // namespace qs
