#include "app/tools/CTotalsView.h"

#include <wx/button.h>
#include <wx/docmdi.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/printdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/common/CSheetPrintout.h"
#include "app/common/ListFont.h"
#include "app/common/CodePageText.h"
#include "app/common/ModalPump.h"
#include "app/programdata/CVexa3WxDoc.h"
#include "app/shell/CMainFrame.h"
#include "app/shell/CommandIds.h"
#include "app/shell/ContextHelp.h"
#include "appmodel/common/AppServices.h"
#include "appmodel/programdata/DeviceCommands.h"
#include "appmodel/totals/TotalsReader.h"
#include "appmodel/totals/TotalsReport.h"
#include "platform/PrintSheet.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

wxIMPLEMENT_DYNAMIC_CLASS(CTotalsView, wxView);

namespace {

// The view's parent while it is made (wxView::OnCreate has no parent argument).
wxMDIParentFrame* g_creatingUnder = nullptr;

}  // namespace

CTotalsView::~CTotalsView() = default;

CTotalsView* CTotalsView::Open(wxMDIParentFrame* parent, CVexa3WxDoc& doc) {
    auto view = std::make_unique<CTotalsView>();
    g_creatingUnder = parent;
    // A view of its own on the document, as the document's template would make one.
    view->SetDocument(&doc);
    const bool made = view->OnCreate(&doc, 0);
    g_creatingUnder = nullptr;
    if (!made) {
        doc.RemoveView(view.get());
        return nullptr;
    }
    CTotalsView* shown = view.release();
    // Once shown; a command that is running is waited for.
    shown->CallAfter([shown] { shown->ReadTotals(); });
    return shown;
}

bool CTotalsView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags)) return false;
    wxMDIParentFrame* parent = g_creatingUnder ? g_creatingUnder : CMainFrame::Instance();
    if (!parent) return false;
    // A window of fixed size.
    auto* frame = new wxDocMDIChildFrame(doc, this, parent, wxID_ANY, kTitle, wxDefaultPosition, wxDefaultSize,
                                         wxDEFAULT_FRAME_STYLE & ~(wxRESIZE_BORDER | wxMAXIMIZE_BOX));
    SetFrame(frame);
    Build(frame);
    frame->SetLabel(doc->GetUserReadableName() + kTitleSuffix);
    ContextHelp::SetId(frame, kHelpId);
    lists_.changed = [this](int which) { Show(which); };
    frame->Bind(wxEVT_MENU, [this](wxCommandEvent&) { Print(); }, ID_FILE_PRINT);
    frame->Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(!reading_); }, ID_FILE_PRINT);
    frame->Show();
    listCtrls_[TotalsLists::kProducts]->SetFocus();
    return true;
}

void CTotalsView::Build(wxWindow* frame) {
    auto* panel = new wxPanel(frame);
    const wxFont font = ListFont();
    auto makeList = [&](TotalsLists::Which which) {
        auto* list = new wxListCtrl(panel, wxID_ANY, wxDefaultPosition, wxSize(-1, 180), wxLC_REPORT | wxLC_SINGLE_SEL);
        list->SetFont(font);
        for (const TotalsColumn& c : lists_.List(which).columns)
            list->AppendColumn(c.heading, c.left ? wxLIST_FORMAT_LEFT : wxLIST_FORMAT_RIGHT, panel->FromDIP(c.width));
        listCtrls_[which] = list;
        return list;
    };
    status_ = new wxStaticText(panel, wxID_ANY, lists_.Status());
    print_ = new wxButton(panel, wxID_ANY, "&Print");
    close_ = new wxButton(panel, wxID_ANY, "&Close");

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(makeList(TotalsLists::kProducts), 1, wxEXPAND | wxALL, 8);
    auto* lower = new wxBoxSizer(wxHORIZONTAL);
    lower->Add(makeList(TotalsLists::kAdditives), 0, wxEXPAND | wxRIGHT, 8);
    lower->Add(makeList(TotalsLists::kRecipes), 1, wxEXPAND);
    sizer->Add(lower, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
    sizer->Add(status_, 0, wxEXPAND | wxALL, 8);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(print_, 0, wxRIGHT, 8);
    buttons->Add(close_);
    sizer->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    listCtrls_[TotalsLists::kAdditives]->SetMinSize(wxSize(panel->FromDIP(70 + 72 + 24), -1));
    panel->SetSizer(sizer);

    auto* frameSizer = new wxBoxSizer(wxVERTICAL);
    frameSizer->Add(panel, 1, wxEXPAND);
    frame->SetSizerAndFit(frameSizer);
    frame->SetClientSize(frame->FromDIP(wxSize(600, 520)));

    print_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Print(); });
    print_->Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(!reading_); });
    close_->Bind(wxEVT_BUTTON, [frame](wxCommandEvent&) { frame->Close(); });
}

CVexa3WxDoc* CTotalsView::Doc() const { return dynamic_cast<CVexa3WxDoc*>(GetDocument()); }

bool CTotalsView::OnClose(bool) {
    if (reading_) return false;
    // Only this window goes; the document stays with its own window.
    Activate(false);
    return true;
}

void CTotalsView::ReadTotals() {
    if (started_) return;
    if (DeviceCommands::CommandRunning()) {
        wxWeakRef<wxEvtHandler> self(this);
        ModalPump::RunWhenFree([self] {
            if (auto* view = dynamic_cast<CTotalsView*>(self.get())) view->ReadTotals();
        });
        return;
    }
    ReadNow();
}

void CTotalsView::ReadNow() {
    CVexa3WxDoc* doc = Doc();
    if (!doc) return;
    DeviceCommands::CommandScope scope;
    if (!scope.Entered()) return;
    started_ = true;
    reading_ = true;
    TotalsReader reader(doc->Core(), doc->Services().ui, lists_);
    wxBusyCursor busy;
    reader.Read();
    reading_ = false;
    read_ = true;
    ContextHelp::SetId(GetFrame(), kHelpId);
}

void CTotalsView::Show(int which) {
    CVexa3WxDoc* doc = Doc();
    const int codePage = doc ? doc->Core().CodePage() : 0;
    if (which < 0) {
        if (status_) status_->SetLabel(FromCodePage(lists_.Status(), codePage));
        return;
    }
    wxListCtrl* list = listCtrls_[which];
    if (!list) return;
    const TotalsList& rows = lists_.List(static_cast<TotalsLists::Which>(which));
    const long count = static_cast<long>(rows.rows.size());
    while (list->GetItemCount() > count) list->DeleteItem(list->GetItemCount() - 1);
    for (long r = 0; r < count; ++r) {
        if (r >= list->GetItemCount()) list->InsertItem(r, wxString());
        const std::vector<std::string>& cells = rows.rows[static_cast<size_t>(r)];
        for (size_t c = 0; c < cells.size(); ++c) {
            const wxString text = FromCodePage(cells[c], codePage);
            if (list->GetItemText(r, static_cast<int>(c)) != text) list->SetItem(r, static_cast<int>(c), text);
        }
    }
}

void CTotalsView::LaySheet(PrintSheet& sheet) const {
    CVexa3WxDoc* doc = Doc();
    const std::string path = doc ? doc->GetFilename().utf8_string() : std::string();
    TotalsReport::Lay(sheet, lists_, path, wxDateTime::Now().Format("%B %d, %Y %H:%M").utf8_string());
}

void CTotalsView::Print() {
    if (reading_) return;
    PrintSheet sheet(0);
    LaySheet(sheet);
    CVexa3WxDoc* doc = Doc();
    CSheetPrintout printout(doc ? doc->GetFilename().utf8_string() : std::string(), sheet,
                            doc ? doc->Core().CodePage() : 0, false);
    wxPrintDialogData data;
    data.SetAllPages(true);
    data.EnableSelection(false);
    wxPrinter printer(&data);
    printer.Print(GetFrame(), &printout, true);
}

}  // namespace qs
