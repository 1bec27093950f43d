#include "app/shell/CErrorLogView.h"

#include <memory>

#include <wx/docmdi.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>

#include "app/common/ListFont.h"
#include "app/shell/CMainFrame.h"
#include "app/common/WxText.h"

namespace qs {

wxIMPLEMENT_DYNAMIC_CLASS(CErrorLogView, wxView);

namespace {

// The view's parent while the template makes it (wxView::OnCreate has no parent argument).
wxMDIParentFrame* g_creatingUnder = nullptr;

}  // namespace

CErrorLogView::~CErrorLogView() {
    if (CMainFrame* frame = CMainFrame::Instance()) frame->ForgetErrorLog(this);
}

CErrorLogView* CErrorLogView::Open(wxMDIParentFrame* parent, wxDocTemplate* logTemplate, wxDocument* doc,
                                   const void* owner) {
    g_creatingUnder = parent;
    CErrorLogView* view = nullptr;
    if (doc && logTemplate) {
        view = dynamic_cast<CErrorLogView*>(logTemplate->CreateView(doc, wxDOC_SILENT));
    } else {
        auto made = std::make_unique<CErrorLogView>();
        if (made->OnCreate(nullptr, 0)) view = made.release();
    }
    g_creatingUnder = nullptr;
    if (view) {
        view->owner_ = owner;
        view->UpdateCaption();
    }
    return view;
}

bool CErrorLogView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags)) return false;
    parent_ = g_creatingUnder ? g_creatingUnder : CMainFrame::Instance();
    if (!parent_) return false;
    auto* frame = new wxDocMDIChildFrame(doc, this, parent_, wxID_ANY, kCaptionPrefix);
    list_ = new wxListCtrl(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_SINGLE_SEL);
    list_->SetFont(ListFont());
    list_->AppendColumn("", wxLIST_FORMAT_LEFT, 1500);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(list_, 1, wxEXPAND);
    frame->SetSizer(sizer);
    SetFrame(frame);
    UpdateCaption();
    frame->Show();
    return true;
}

bool CErrorLogView::OnClose(bool) {
    // Only the log goes; its document stays open.
    Activate(false);
    return true;
}

void CErrorLogView::OnChangeFilename() { UpdateCaption(); }

void CErrorLogView::OnActivateView(bool activate, wxView*, wxView*) {
    if (activate && list_) list_->SetFocus();
}

wxString CErrorLogView::Caption() const {
    wxString caption = kCaptionPrefix;
    if (wxDocument* doc = GetDocument()) caption += doc->GetUserReadableName();
    return caption;
}

void CErrorLogView::UpdateCaption() {
    if (wxWindow* frame = GetFrame()) frame->SetLabel(Caption());
}

void CErrorLogView::Reattach(wxDocument* doc, const void* owner) {
    Clear();
    if (doc != GetDocument()) {
        Detach();
        if (doc) SetDocument(doc);
        if (auto* child = dynamic_cast<wxDocChildFrameAnyBase*>(GetFrame())) child->SetDocument(doc);
    }
    owner_ = owner;
    UpdateCaption();
}

void CErrorLogView::Detach() {
    if (wxDocument* doc = GetDocument()) {
        SetDocument(nullptr);
        doc->RemoveView(this);
    }
    if (auto* child = dynamic_cast<wxDocChildFrameAnyBase*>(GetFrame())) child->SetDocument(nullptr);
    owner_ = nullptr;
}

void CErrorLogView::AddLine(const std::string& line) {
    if (list_) list_->InsertItem(list_->GetItemCount(), ToWx(line));
}

void CErrorLogView::Clear() {
    if (list_) list_->DeleteAllItems();
}

std::vector<std::string> CErrorLogView::Lines() const {
    std::vector<std::string> lines;
    if (!list_) return lines;
    for (long i = 0; i < list_->GetItemCount(); ++i) lines.push_back(list_->GetItemText(i).utf8_string());
    return lines;
}

}  // namespace qs
