#include "app/programdata/CVexa3WxDoc.h"

#include <vector>

#include "app/programdata/CDirectoryView.h"
#include "app/shell/CMainFrame.h"
#include "app/common/SaveChangesPrompt.h"
#include "app/shell/CPowerDocTemplate.h"
#include "appmodel/common/AppServices.h"
#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

wxIMPLEMENT_CLASS(CVexa3WxDoc, wxDocument);

CVexa3WxDoc::CVexa3WxDoc(const AppServices& services)
    : services_(services),
      core_(std::make_unique<CVexa3Doc>(services.ports, services.definitions, &services.options)) {
    core_->AddObserver(this);
}

CVexa3WxDoc::~CVexa3WxDoc() {
    core_->RemoveObserver(this);
    // The error log must never point into a document that is gone.
    if (CMainFrame* frame = CMainFrame::Instance()) frame->CloseTransferLog(core_.get());
}

CVexa3WxDoc* CVexa3WxDoc::FromCore(const void* core) {
    wxDocManager* manager = wxDocManager::GetDocumentManager();
    if (!manager || !core) return nullptr;
    for (wxObject* object : manager->GetDocuments()) {
        if (auto* doc = dynamic_cast<CVexa3WxDoc*>(object); doc && doc->core_.get() == core) return doc;
    }
    return nullptr;
}

bool CVexa3WxDoc::OnNewDocument() {
    if (!wxDocument::OnNewDocument()) return false;
    CPowerDocTemplate::NameNewDocument(*this);
    core_->SetTitle(GetUserReadableName().utf8_string());
    return true;
}

bool CVexa3WxDoc::OnCloseDocument() {
    if (CMainFrame* frame = CMainFrame::Instance()) frame->CloseTransferLog(core_.get());
    const bool closed = wxDocument::OnCloseDocument();
    // The link goes with the document, not later with the object.
    core_->ReleaseProtocol();
    // With the last program-data document goes the last connection the message pane spoke of.
    bool others = false;
    if (wxDocManager* manager = GetDocumentManager()) {
        for (wxObject* object : manager->GetDocuments())
            others = others || (object != this && dynamic_cast<CVexa3WxDoc*>(object) != nullptr);
    }
    if (!others) services_.ui.Status(CVexa3Doc::kClearedText);
    if (CMainFrame* frame = CMainFrame::Instance()) frame->UpdateConnectionPane();
    return closed;
}

bool CVexa3WxDoc::OnSaveModified() {
    return AskToSaveChanges(*this, services_.ui);
}

bool CVexa3WxDoc::SaveAs() {
    auto* kind = dynamic_cast<CPowerDocTemplate*>(GetDocumentTemplate());
    return kind ? kind->SaveDocumentAs(*this) : wxDocument::SaveAs();
}

void CVexa3WxDoc::RetitleWindows() {
    std::vector<wxWindow*> frames;
    for (wxObject* object : GetViews()) {
        auto* view = dynamic_cast<CDirectoryView*>(object);
        if (view && view->GetFrame() && !view->GetFrame()->IsBeingDeleted()) frames.push_back(view->GetFrame());
    }
    for (size_t i = 0; i < frames.size(); ++i) {
        wxString label = GetUserReadableName();
        if (frames.size() > 1) label << ":" << (i + 1);
        if (frames[i]->GetLabel() != label) frames[i]->SetLabel(label);
    }
}

bool CVexa3WxDoc::RemoveView(wxView* view) {
    const bool removed = wxDocument::RemoveView(view);
    RetitleWindows();
    return removed;
}

bool CVexa3WxDoc::IsModified() const { return core_->IsModified() || wxDocument::IsModified(); }

void CVexa3WxDoc::Modify(bool modified) {
    core_->SetModified(modified);
    wxDocument::Modify(modified);
}

void CVexa3WxDoc::OnChangeFilename(bool notifyViews) {
    wxDocument::OnChangeFilename(notifyViews);
    core_->SetTitle(GetUserReadableName().utf8_string());
}

bool CVexa3WxDoc::DoOpenDocument(const wxString& file) {
    // The views hear of the new contents once the open has finished, not half-way.
    opening_ = true;
    const bool loaded = core_->Load(file.utf8_string());
    opening_ = false;
    return loaded;
}

bool CVexa3WxDoc::DoSaveDocument(const wxString& file) { return core_->Save(file.utf8_string()); }

void CVexa3WxDoc::OnDocumentChanged(CVexa3Doc&) {
    if (opening_) return;
    wxDocument::Modify(core_->IsModified());
    UpdateAllViews();
}

void CVexa3WxDoc::OnStateChanged(CVexa3Doc&, int) {
    if (CMainFrame* frame = CMainFrame::Instance()) frame->UpdateConnectionPane();
}

}  // namespace qs
