#include "app/sidedocs/carddb/CDatabaseView.h"

#include <wx/app.h>
#include <wx/docmdi.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include "app/common/CFindDialog.h"
#include "app/common/CSheetPrintout.h"
#include "app/common/CodePageFont.h"
#include "app/common/CodePageText.h"
#include "app/shell/CPowerDocTemplate.h"
#include "app/shell/CommandIds.h"
#include "app/shell/ContextHelp.h"
#include "app/sidedocs/SideDocumentHost.h"
#include "app/sidedocs/carddb/CDatabaseEditDlg.h"
#include "app/sidedocs/carddb/CDatabasePrintout.h"
#include "app/sidedocs/carddb/CDatabaseWxDoc.h"
#include "appmodel/common/AppServices.h"
#include "platform/UiServices.h"
#include "sidedocs/carddb/HidCardCode.h"

namespace qs {

wxIMPLEMENT_DYNAMIC_CLASS(CDatabaseView, wxView);

namespace {

// Card records are kept in the first code page of the table (Windows-1252, "Kez Bold").
constexpr int kCodePage = 0;

constexpr const char* kHeadings[CDatabaseView::kColumnCount] = {"ID Number", "HID #",    "PIN",
                                                                 "Field #1",  "Field #2", "Field #3"};

}  // namespace

CDatabaseView::CDatabaseView() {
    runDialog_ = [this](CardRecordForm& form) {
        CDatabaseEditDlg dialog(GetFrame(), form, listFont_, Services());
        return dialog.ShowModal() == wxID_OK;
    };
}

CDatabaseView::~CDatabaseView() = default;

CDatabaseWxDoc* CDatabaseView::Document() const { return dynamic_cast<CDatabaseWxDoc*>(GetDocument()); }

SideDocumentHost* CDatabaseView::Host() const { return SideDocumentHost::Of(GetFrame()); }

const UiServices& CDatabaseView::Services() const { return Document()->Services().ui; }

bool CDatabaseView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags) || !dynamic_cast<CDatabaseWxDoc*>(doc)) return false;
    wxWindow* top = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    wxFrame* frame = nullptr;
    if (auto* mdi = wxDynamicCast(top, wxDocMDIParentFrame)) {
        frame = new wxDocMDIChildFrame(doc, this, mdi, wxID_ANY, doc->GetUserReadableName());
    } else {
        frame = new wxDocChildFrame(doc, this, wxDynamicCast(top, wxFrame), wxID_ANY, doc->GetUserReadableName(),
                                    wxDefaultPosition, wxSize(900, 500));
    }
    list_ = new wxListCtrl(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                           wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_HRULES | wxLC_VRULES | wxWANTS_CHARS);
    listFont_ = CodePageFont(kCodePage);
    list_->SetFont(listFont_);
    for (const char* heading : kHeadings) list_->AppendColumn(heading);
    ContextHelp::SetId(list_, kHelpId);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(list_, 1, wxEXPAND);
    frame->SetSizer(sizer);
    SetFrame(frame);

    list_->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        SizeColumns();
        event.Skip();
    });
    list_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent& event) { EditRecord(event.GetIndex()); });
    list_->Bind(wxEVT_LIST_ITEM_FOCUSED, [this](wxListEvent& event) {
        ShowStatus();
        event.Skip();
    });
    list_->Bind(wxEVT_CHAR_HOOK, &CDatabaseView::OnCharHook, this);
    list_->Bind(wxEVT_QS_FIND, &CDatabaseView::OnFindEvent, this);
    BindCommands();

    OnUpdate(nullptr, nullptr);
    frame->Show();
    SizeColumns();
    return true;
}

void CDatabaseView::BindCommands() {
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnEditClear(); }, ID_EDIT_CLEAR);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(ClearEnabled()); }, ID_EDIT_CLEAR);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnFind(); }, ID_EDIT_FIND);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnPrint(); }, ID_FILE_PRINT);
    for (int id : {ID_EDIT_FIND, ID_FILE_PRINT}) Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(true); }, id);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnReadAll(); }, ID_READ_ALL);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnDumpAll(); }, ID_DUMP_ALL);
    for (int id : {ID_READ_ALL, ID_DUMP_ALL}) {
        Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(DeviceCommandsEnabled()); }, id);
    }
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(false); }, ID_WINDOW_NEW);
}

void CDatabaseView::SizeColumns() {
    if (!list_) return;
    const int width = list_->GetClientSize().x;
    const int fractions[] = {10, 16, 16, 4, 4};
    for (int c = 0; c < kField3Column; ++c) list_->SetColumnWidth(c, width / fractions[c]);
    list_->SetColumnWidth(kField3Column, wxLIST_AUTOSIZE_USEHEADER);
}

void CDatabaseView::OnUpdate(wxView*, wxObject*) {
    CDatabaseWxDoc* doc = Document();
    if (!list_ || !doc) return;
    const CDatabase& db = doc->Core();
    list_->Freeze();
    list_->DeleteAllItems();
    for (int i = 0; i < db.Count(); ++i) {
        const std::string& record = db.Record(i);
        HidCardCode code;
        code.value = CDatabase::GetField(record, 0);
        code.ParseValue();
        const long row = list_->InsertItem(i, FromCodePage(code.value, kCodePage));
        list_->SetItem(row, kHidColumn, std::to_string(code.card));
        list_->SetItem(row, kPinColumn, FromCodePage(CDatabase::GetField(record, 4), kCodePage));
        for (int f = 1; f <= 3; ++f)
            list_->SetItem(row, kField1Column + f - 1, FromCodePage(CDatabase::GetField(record, f), kCodePage));
    }
    // The row for a new card.
    list_->InsertItem(db.Count(), wxString());
    list_->SetColumnWidth(kField3Column, wxLIST_AUTOSIZE_USEHEADER);
    list_->Thaw();
    SelectRow(db.Count());
    ShowStatus();
}

void CDatabaseView::SelectRow(long row) {
    list_->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    list_->EnsureVisible(row);
    // A list filled before its window has its size scrolls once it has one.
    wxWeakRef<wxListCtrl> list(list_);
    list_->CallAfter([list, row] {
        if (list && row < list->GetItemCount()) list->EnsureVisible(row);
    });
}

bool CDatabaseView::OnClose(bool deleteWindow) {
    if (!wxView::OnClose(deleteWindow)) return false;
    Activate(false);
    if (find_) find_->Destroy();
    if (deleteWindow && GetFrame()) {
        GetFrame()->Destroy();
        SetFrame(nullptr);
    }
    list_ = nullptr;
    return true;
}

void CDatabaseView::OnActivateView(bool activate, wxView*, wxView*) {
    if (!activate || !list_) return;
    // Enter and '.' act on the list as soon as its window is the active one.
    list_->SetFocus();
    ShowStatus();
}

wxPrintout* CDatabaseView::OnCreatePrintout() {
    CDatabaseWxDoc* doc = Document();
    if (!doc) return nullptr;
    return new CDatabasePrintout(doc->GetUserReadableName().utf8_string(), doc->Core());
}

void CDatabaseView::OnPrint() {
    std::unique_ptr<wxPrintout> printout(OnCreatePrintout());
    if (printout) CSheetPrintout::PrintAll(GetFrame(), *printout);
}

long CDatabaseView::FocusedRow() const {
    return list_ ? list_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED) : -1;
}

wxString CDatabaseView::CellText(long row, int column) const { return list_ ? list_->GetItemText(row, column) : wxString(); }

bool CDatabaseView::ClearEnabled() const {
    const CDatabaseWxDoc* doc = Document();
    const long row = FocusedRow();
    return doc && row >= 0 && row < doc->Core().Count();
}

bool CDatabaseView::DeviceCommandsEnabled() const {
    const SideDocumentHost* host = Host();
    return host && host->HasDeviceDocument();
}

void CDatabaseView::ShowStatus() {
    CDatabaseWxDoc* doc = Document();
    SideDocumentHost* host = Host();
    if (!doc || !host) return;
    host->ShowDocumentPanes(*doc, CardEditFlow::CardText(static_cast<int>(FocusedRow()), doc->Core().Count()),
                            CardEditFlow::SizeText(doc->Core().ByteTotal()));
}

// ---------------------------------------------------------------- editing

bool CDatabaseView::EditRecord(long row) {
    CDatabaseWxDoc* doc = Document();
    if (!doc || row < 0) return false;
    if (!CardEditFlow::EditRecord(doc->Core(), static_cast<int>(row), runDialog_, Services())) return false;
    doc->Modify(true);
    doc->UpdateAllViews();
    return true;
}

void CDatabaseView::OnEditClear() {
    CDatabaseWxDoc* doc = Document();
    const long row = FocusedRow();
    if (!doc || row < 0) return;
    if (row >= doc->Core().Count()) {
        wxBell();
        return;
    }
    doc->Core().RemoveRecord(static_cast<int>(row));
    doc->Modify(true);
    doc->UpdateAllViews();
}

void CDatabaseView::OnCharHook(wxKeyEvent& event) {
    if (event.GetUnicodeKey() == '.' && !event.HasAnyModifiers()) {
        OnEditClear();
        return;
    }
    event.Skip();
}

// ---------------------------------------------------------------- device

void CDatabaseView::OnReadAll() {
    CDatabaseWxDoc* doc = Document();
    SideDocumentHost* host = Host();
    if (!doc || !host) return;
    wxBusyCursor wait;
    // The database is read into a document of its own that is shown only when the read
    // succeeded; this one is left as it is.
    CDatabase read;
    read.OnNewDocument();
    if (!read.UploadFromDevice(host->Access(Services()))) return;
    doc->NewDocumentWith([&read](CDatabase& fresh) { fresh = std::move(read); });
}

void CDatabaseView::OnDumpAll() {
    CDatabaseWxDoc* doc = Document();
    SideDocumentHost* host = Host();
    if (!doc || !host) return;
    wxBusyCursor wait;
    if (doc->Core().DownloadToDevice(host->Access(Services()))) Services().Message(kDownloadedMessage);
}

// ---------------------------------------------------------------- find

void CDatabaseView::OnFind() {
    if (!list_) return;
    if (!find_) find_ = new CFindDialog(list_);
    find_->Show();
    find_->Raise();
}

void CDatabaseView::OnFindEvent(FindRequestEvent& event) {
    if (CFindDialog* dialog = event.Dialog()) FindRequest(event.Request(), *dialog);
}

bool CDatabaseView::FindRequest(int request, CFindDialog& dialog) {
    CDatabaseWxDoc* doc = Document();
    if (!doc || !list_ || request == kFindOpened) return false;
    const CDatabase& db = doc->Core();
    const int step = dialog.direction == 1 ? -1 : 1;
    switch (request) {
    case kFindFromStart:
        searchPosition_ = step > 0 ? 0 : db.Count() - 1;
        break;
    case kFindFromCursor:
        searchPosition_ = static_cast<int>(FocusedRow());
        break;
    case kFindNext:
        searchPosition_ += step;
        break;
    default:
        return false;
    }
    const int found = db.FindRecord(searchPosition_, step, [&dialog](const std::string& record) {
        return dialog.MatchText(FromCodePage(record, kCodePage));
    });
    if (found < 0) {
        Services().Message(kNotFoundMessage);
        return false;
    }
    searchPosition_ = found;
    SelectRow(found);
    return true;
}

}  // namespace qs
