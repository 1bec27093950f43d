#include "app/sidedocs/reports/CReportView.h"

#include <algorithm>

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/datetime.h>
#include <wx/docmdi.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include "app/common/CSheetPrintout.h"
#include "app/common/CodePageText.h"
#include "app/shell/CPowerDocTemplate.h"
#include "app/shell/ContextHelp.h"
#include "app/sidedocs/SideDocumentHost.h"
#include "app/sidedocs/SideDocumentMenu.h"
#include "app/sidedocs/reports/CReportDestDlg.h"
#include "app/sidedocs/reports/CReportGrid.h"
#include "app/sidedocs/reports/CReportItemDlg.h"
#include "app/sidedocs/reports/CReportOptionsDlg.h"
#include "app/sidedocs/reports/CReportWxDoc.h"
#include "appmodel/common/AppServices.h"
#include "platform/UiServices.h"
#include "sidedocs/reports/ReportClipboardBlock.h"
#include "sidedocs/reports/ReportItem.h"
#include "sidedocs/reports/ReportPrint.h"

namespace qs {
namespace {

wxDataFormat EntryFormat() { return wxDataFormat(ReportClipboardBlock::kFormatName); }

// Plain text longer than an entry can hold is cut anyway; this bounds what is converted.
constexpr size_t kMaxPlainChars = 4 * ReportItem::kTextSize;

}  // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CReportView, wxView);

CReportView::CReportView() {
    runDialog = [](wxDialog& dialog) { return dialog.ShowModal(); };
}

CReportView::~CReportView() = default;

CReportWxDoc* CReportView::Doc() const { return dynamic_cast<CReportWxDoc*>(GetDocument()); }

SideDocumentHost* CReportView::Host() const { return SideDocumentHost::Of(GetFrame()); }

wxMenu* CReportView::CreateMenu() {
    auto* menu = new wxMenu;
    menu->Append(ID_INSERT_NEW, "&Insert New Item...");
    menu->Append(ID_EDIT_ITEM, "&Edit Selected Item...");
    menu->AppendSeparator();
    menu->Append(ID_READ_ALL, "&Read Report from Duravane III");
    menu->Append(ID_DUMP_ALL, "&Dump Report to Duravane III");
    menu->AppendSeparator();
    menu->Append(ID_DOCUMENT_OPTIONS, "&Options for report...");
    return menu;
}

bool CReportView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags)) return false;
    CReportWxDoc* report = Doc();
    auto* parent = wxDynamicCast(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, wxMDIParentFrame);
    if (!parent || !report) return false;
    editor_ = std::make_unique<ReportEditor>(report->Core(), *report->Services().reportTokens);
    auto* frame = new wxDocMDIChildFrame(doc, this, parent, wxID_ANY, doc->GetUserReadableName());
    ContextHelp::SetId(frame, kHelpId);
    grid_ = new CReportGrid(frame, *this, *editor_);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(grid_, 1, wxEXPAND);
    frame->SetSizer(sizer);
    SetFrame(frame);
    grid_->SetCharset(report->Core().Charset());
    BindCommands(frame);
    UpdateMenu(false);
    frame->Show();
    grid_->SetFocus();
    return true;
}

void CReportView::BindCommands(wxWindow* frame) {
    const auto on = [frame](int id, std::function<void()> action) {
        frame->Bind(wxEVT_MENU, [action](wxCommandEvent&) { action(); }, id);
    };
    const auto enable = [frame](int id, std::function<bool()> rule) {
        frame->Bind(wxEVT_UPDATE_UI, [rule](wxUpdateUIEvent& e) { e.Enable(rule()); }, id);
    };
    on(ID_INSERT_NEW, [this] { InsertNew(ReportCell{}); });
    on(ID_INSERT_HERE, [this] { InsertNew(grid_->MenuCell().value_or(ReportCell{})); });
    on(ID_EDIT_ITEM, [this] { EditItem(); });
    on(ID_EDIT_CLEAR, [this] { DeleteItem(); });
    on(ID_EDIT_CUT, [this] { CopyItem(true); });
    on(ID_EDIT_COPY, [this] { CopyItem(false); });
    on(ID_EDIT_PASTE, [this] { Paste(); });
    on(ID_PASTE_HERE, [this] {
        if (const auto cell = grid_->MenuCell()) Paste(cell);
    });
    on(ID_READ_ALL, [this] { OnReadAll(); });
    on(ID_DUMP_ALL, [this] { OnDumpAll(); });
    on(ID_DOCUMENT_OPTIONS, [this] { OnOptions(); });
    on(ID_FILE_PRINT, [this] { OnFilePrint(); });
    for (int id : {static_cast<int>(ID_EDIT_CUT), static_cast<int>(ID_EDIT_COPY), static_cast<int>(ID_EDIT_CLEAR)})
        enable(id, [this] { return CanCopy(); });
    enable(ID_EDIT_ITEM, [this] { return editor_ && editor_->Focused(); });
    for (int id : {static_cast<int>(ID_EDIT_PASTE), static_cast<int>(ID_PASTE_HERE)}) enable(id, [this] { return CanPaste(); });
    for (int id : {ID_READ_ALL, ID_DUMP_ALL}) enable(id, [this] { return CanTransfer(); });
    for (int id : {static_cast<int>(ID_INSERT_NEW), static_cast<int>(ID_INSERT_HERE),
                   static_cast<int>(ID_DOCUMENT_OPTIONS), static_cast<int>(ID_FILE_PRINT)})
        enable(id, [] { return true; });
    enable(ID_MENU_POSITION, [] { return false; });
}

void CReportView::UpdateMenu(bool removing) {
    SideDocumentMenu::Update(*this, kMenuTitle, &CreateMenu, removing,
                             [](const wxView* view) { return dynamic_cast<const CReportView*>(view) != nullptr; });
}

bool CReportView::OnClose(bool deleteWindow) {
    if (!wxView::OnClose(deleteWindow)) return false;
    Activate(false);
    UpdateMenu(true);
    if (deleteWindow) {
        if (wxWindow* frame = GetFrame()) frame->Destroy();
        SetFrame(nullptr);
        grid_ = nullptr;
    }
    return true;
}

void CReportView::OnUpdate(wxView* sender, wxObject* hint) {
    wxView::OnUpdate(sender, hint);
    CReportWxDoc* doc = Doc();
    if (!grid_ || !doc) return;
    if (grid_->Charset() != doc->Core().Charset()) grid_->SetCharset(doc->Core().Charset());
    if (editor_ && !editor_->Focused()) editor_->Focus(editor_->NextAfter(nullptr));
    grid_->Relayout();
    grid_->Refresh();
}

void CReportView::Changed() {
    CReportWxDoc* doc = Doc();
    if (!doc || !editor_) return;
    if (doc->Core().IsModified()) {
        doc->Core().SetModified(false);
        doc->Modify(true);
        // Other windows on the same report show the change too.
        doc->UpdateAllViews(this);
    }
    if (grid_) grid_->FocusItem(editor_->Focused());
}

void CReportView::ShowPosition() {
    CReportWxDoc* doc = Doc();
    const ReportItem* item = editor_ ? editor_->Focused() : nullptr;
    if (doc && item) doc->Services().ui.Status(ReportEditor::PositionText(*item));
}

void CReportView::ShowCell(ReportCell cell) {
    if (CReportWxDoc* doc = Doc()) doc->Services().ui.Status(ReportEditor::PositionText(cell));
}

// ---------------------------------------------------------------- entries

void CReportView::InsertNew(ReportCell cell) {
    if (!editor_ || !grid_) return;
    ReportItem& item = editor_->BeginInsert(cell);
    grid_->FocusItem(&item);
    EditItem(&item);
}

bool CReportView::EditItem(ReportItem* item) {
    CReportWxDoc* doc = Doc();
    if (!doc || !editor_) return false;
    if (!item) item = editor_->Focused();
    if (!item) return false;
    CReportItemDlg dialog(GetFrame(), doc->Core(), *item, doc->Services().ui);
    const int answer = runDialog(dialog);
    // The entry keeps the focus the dialog had.
    if (grid_) grid_->SetFocus();
    if (answer != wxID_OK) {
        editor_->CancelProperties(*item);
        if (grid_) grid_->FocusItem(editor_->Focused());
        return false;
    }
    dialog.ApplyTo(*item);
    editor_->CommitProperties(*item);
    Changed();
    return true;
}

void CReportView::DeleteItem() {
    if (editor_ && editor_->DeleteFocused()) Changed();
}

bool CReportView::CanCopy() const {
    const ReportItem* item = editor_ ? editor_->Focused() : nullptr;
    return item && item != editor_->Pending();
}

void CReportView::CopyItem(bool cut) {
    if (!editor_) return;
    wxClipboardLocker lock;
    if (!lock) return;
    const auto block = editor_->Copy(cut);
    if (!block) return;
    auto* data = new wxCustomDataObject(EntryFormat());
    data->SetData(block->size(), block->data());
    wxTheClipboard->SetData(data);
    if (cut) Changed();
}

bool CReportView::CanPaste() const {
    wxClipboardLocker lock;
    return !!lock && (wxTheClipboard->IsSupported(EntryFormat()) || wxTheClipboard->IsSupported(wxDF_UNICODETEXT) ||
                      wxTheClipboard->IsSupported(wxDF_TEXT));
}

void CReportView::Paste(std::optional<ReportCell> at) {
    CReportWxDoc* doc = Doc();
    if (!doc || !editor_ || !grid_) return;
    std::string block;
    wxString text;
    {
        wxClipboardLocker lock;
        if (!lock) return;
        if (wxTheClipboard->IsSupported(EntryFormat())) {
            wxCustomDataObject data(EntryFormat());
            if (!wxTheClipboard->GetData(data)) return;
            block.assign(static_cast<const char*>(data.GetData()), std::min(data.GetSize(), ReportClipboardBlock::kSize));
        } else {
            wxTextDataObject data;
            if (!wxTheClipboard->GetData(data)) return;
            text = data.GetText().Left(kMaxPlainChars);
        }
    }
    const ReportCell cell = at.value_or(grid_->OriginCell());
    if (!editor_->CanDrop(cell)) return;
    ReportEditor::PasteResult result = ReportEditor::PasteResult::kRefused;
    if (!block.empty()) {
        result = editor_->PasteBlock(block, cell, !at);
    } else {
        const auto bytes = ToCodePage(text, doc->Core().Charset());
        if (!bytes) {
            doc->Services().ui.Message(kCharsetRefused, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        result = editor_->PastePlain(*bytes, cell, !at);
    }
    if (result == ReportEditor::PasteResult::kOccupied) {
        doc->Services().ui.Message(ReportEditor::kPasteOverText, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Changed();
}

bool CReportView::Drop(ReportCell cell, const std::string& block, const wxString& text) {
    CReportWxDoc* doc = Doc();
    if (!doc || !editor_) return false;
    ReportEditor::PasteResult result = ReportEditor::PasteResult::kRefused;
    if (!block.empty()) {
        result = editor_->DropBlock(block, cell);
    } else {
        const auto bytes = ToCodePage(text.Left(kMaxPlainChars), doc->Core().Charset());
        if (!bytes) {
            doc->Services().ui.Message(kCharsetRefused, MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        if (editor_->CanDrop(cell)) result = editor_->PastePlain(*bytes, cell, false);
    }
    if (result != ReportEditor::PasteResult::kPasted) return false;
    Changed();
    return true;
}

// ---------------------------------------------------------------- the report

void CReportView::OnOptions() {
    CReportWxDoc* doc = Doc();
    if (!doc) return;
    CReport& report = doc->Core();
    CReportOptionsDlg dialog(GetFrame(), doc->Services().ui);
    dialog.title = report.Title();
    dialog.columns = report.Columns();
    dialog.linesPerPage = report.LinesPerPage();
    dialog.pages = report.Pages();
    dialog.formFeed = report.FormFeed();
    dialog.charset = report.Charset();
    if (runDialog(dialog) != wxID_OK) return;
    int columns = report.Columns(), lines = report.LinesPerPage(), pages = report.Pages();
    if (dialog.columns > 0 && dialog.linesPerPage > 0) {
        columns = dialog.columns;
        lines = dialog.linesPerPage;
    }
    if (dialog.pages > 0) pages = dialog.pages;
    report.SetPageSize(columns, lines, pages);
    report.SetTitle(dialog.title);
    report.SetFormFeed(dialog.formFeed);
    report.SetCharset(dialog.charset);
    doc->Modify(true);
    doc->UpdateAllViews();
}

bool CReportView::CanTransfer() const {
    const SideDocumentHost* host = Host();
    return host && host->HasDeviceDocument();
}

ReportSlotChoice CReportView::SlotChoice(const UiServices& ui) const {
    if (chooseSlot) return chooseSlot;
    return [this, &ui] { return CReportDestDlg::Choose(GetFrame(), ui); };
}

void CReportView::OnReadAll() {
    CReportWxDoc* doc = Doc();
    SideDocumentHost* host = Host();
    if (!doc || !host) return;
    const UiServices& ui = doc->Services().ui;
    const ReportSlotChoice choose = SlotChoice(ui);
    // What the controller holds goes into a document of its own, made only once it has arrived.
    CReport read(doc->Core().Dictionary(), ui);
    read.OnNewDocument();
    {
        wxBusyCursor wait;
        if (!read.UploadFromDevice(host->Access(ui), choose)) return;
    }
    doc->NewDocumentWith([&read](CReport& fresh) {
        fresh.TakeDefinition(read.Columns(), read.LinesPerPage(), read.ReleaseItems(), read.FormFeed());
        fresh.SetModified(false);  // the wx document carries the mark
    });
}

void CReportView::OnDumpAll() {
    CReportWxDoc* doc = Doc();
    SideDocumentHost* host = Host();
    if (!doc || !host) return;
    const UiServices& ui = doc->Services().ui;
    const ReportSlotChoice choose = SlotChoice(ui);
    bool done = false;
    {
        wxBusyCursor wait;
        done = doc->Core().DownloadToDevice(host->Access(ui), choose);
    }
    if (done) ui.Message(kDownloaded, MB_OK | MB_ICONINFORMATION);
}

std::unique_ptr<wxPrintout> CReportView::MakePrintout() const {
    const CReportWxDoc* doc = Doc();
    if (!doc) return nullptr;
    // A report never saved has no path yet; its heading leaves it empty.
    const std::string path = doc->GetDocumentSaved() ? doc->GetFilename().utf8_string() : std::string();
    const std::string when = wxDateTime::Now().Format("%B %d, %Y %H:%M").utf8_string();
    return std::make_unique<CSheetPrintout>(path, ReportPrint::Print(doc->Core(), ReportPrint::Header(path, when)),
                                            doc->Core().Charset(), false);
}

wxPrintout* CReportView::OnCreatePrintout() { return MakePrintout().release(); }

void CReportView::OnFilePrint() {
    std::unique_ptr<wxPrintout> printout = MakePrintout();
    if (!printout) return;
    CSheetPrintout::PrintAll(GetFrame(), *printout);
}

}  // namespace qs
