#include "app/CDirectoryListView.h"

#include <wx/app.h>
#include <wx/docmdi.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "app/CErrorLogView.h"
#include "app/CMainFrame.h"
#include "app/CVexa3WxDoc.h"
#include "app/CodePageText.h"
#include "app/ShellContext.h"
#include "app/WxText.h"
#include "programdata/AppOptions.h"
#include "programdata/CDirectory.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

wxIMPLEMENT_DYNAMIC_CLASS(CDirectoryListView, wxView);

CVexa3WxDoc* CDirectoryListView::Document() const { return dynamic_cast<CVexa3WxDoc*>(GetDocument()); }

bool CDirectoryListView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags)) return false;
    CMainFrame* main = CMainFrame::Instance();
    if (!main) return false;
    auto* frame = new wxDocMDIChildFrame(doc, this, main, wxID_ANY, doc->GetUserReadableName());
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    heading_ = new wxStaticText(frame, wxID_ANY, "");
    list_ = new wxListCtrl(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_SINGLE_SEL);
    list_->AppendColumn("Directory", wxLIST_FORMAT_LEFT, 200);
    list_->AppendColumn("Mnemonic", wxLIST_FORMAT_LEFT, 90);
    list_->AppendColumn("Instances", wxLIST_FORMAT_RIGHT, 90);
    list_->AppendColumn("Program codes", wxLIST_FORMAT_RIGHT, 120);
    sizer->Add(heading_, 0, wxEXPAND | wxALL, 6);
    sizer->Add(list_, 1, wxEXPAND);
    frame->SetSizer(sizer);
    SetFrame(frame);
    Fill();
    frame->Show();
    return true;
}

void CDirectoryListView::OnUpdate(wxView*, wxObject*) {
    Fill();
    if (initialUpdateDone_) return;
    initialUpdateDone_ = true;
    CVexa3WxDoc* doc = Document();
    const AppOptions* options = Shell().options;
    // A document opened from its file goes online by itself when the option says so (a new
    // one is connected by the command that made it). The connection waits until the window
    // is up and the open has finished.
    if (!doc || !doc->GetDocumentSaved() || !options || !options->AutoConnect) return;
    wxWeakRef<wxWindow> frame(GetFrame());
    wxTheApp->CallAfter([frame] {
        // The view may have been closed meanwhile: its frame then has no view any more.
        auto* child = dynamic_cast<wxDocChildFrameAnyBase*>(frame.get());
        if (!child || !child->GetView()) return;
        auto* d = dynamic_cast<CVexa3WxDoc*>(child->GetDocument());
        if (!d || d->Core().State() != CVexa3Doc::kStateNoComm) return;
        wxBusyCursor wait;
        d->Core().Connect(false);
    });
}

bool CDirectoryListView::OnClose(bool deleteWindow) {
    // One of several windows on the document (Window > New Window) closes alone; the last one
    // closes the document.
    bool others = false;
    if (wxDocument* doc = GetDocument()) {
        for (wxObject* object : doc->GetViews()) {
            if (object != this && dynamic_cast<CErrorLogView*>(object) == nullptr) others = true;
        }
    }
    if (!others && !wxView::OnClose(deleteWindow)) return false;
    Activate(false);
    return true;
}

void CDirectoryListView::Fill() {
    CVexa3WxDoc* doc = Document();
    if (!doc || !list_) return;
    const CVexa3Doc& core = doc->Core();
    wxString link;
    if (core.PortIndex() == CVexa3Doc::kPortTcp) link = "TCP/IP " + ToWx(core.Host());
    else if (core.PortIndex() > 0) link = wxString::Format("Com %d", core.PortIndex());
    else link = "no port";
    heading_->SetLabel(FromCodePage(core.Description(), core.CodePage()) + "   (" + link +
                       wxString::Format(", address %d)", core.BaseAddress()));

    list_->Freeze();
    list_->DeleteAllItems();
    long row = 0;
    for (const CDirectory* d = core.FirstDirectory(); d != nullptr; d = d->NextDirectory(), ++row) {
        list_->InsertItem(row, ToWx(d->GetInstanceName()));
        list_->SetItem(row, kMnemonicColumn, ToWx(d->GetMnemonic()));
        list_->SetItem(row, kInstancesColumn, wxString::Format("%d", d->InstanceCount()));
        list_->SetItem(row, kCodesColumn, wxString::Format("%d", d->TotalParams()));
    }
    list_->Thaw();
}

}  // namespace qs
