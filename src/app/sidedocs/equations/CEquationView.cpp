#include "app/sidedocs/equations/CEquationView.h"

#include "app/sidedocs/SideDocumentMenu.h"

#include <algorithm>
#include <optional>

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/datetime.h>
#include <wx/docmdi.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include "app/common/CSheetPrintout.h"
#include "app/shell/CPowerDocTemplate.h"
#include "app/shell/ContextHelp.h"
#include "app/sidedocs/SideDocumentHost.h"
#include "app/sidedocs/equations/CEquationDlg.h"
#include "app/sidedocs/equations/CEquationOptionsDlg.h"
#include "app/sidedocs/equations/CEquationWxDoc.h"
#include "appmodel/common/AppServices.h"
#include "platform/UiServices.h"
#include "sidedocs/equations/EquationClipboardBlock.h"
#include "sidedocs/equations/EquationEditList.h"
#include "sidedocs/equations/EquationPrint.h"

namespace qs {
namespace {

// No line block comes near this; anything longer is not one of ours.
constexpr size_t kMaxBlockBytes = 4096;

wxDataFormat LineFormat() { return wxDataFormat(EquationClipboardBlock::kFormatName); }

}  // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CEquationView, wxView);

CEquationView::CEquationView() {
    runDialog = [](wxDialog& dialog) { return dialog.ShowModal(); };
}

CEquationView::~CEquationView() = default;

CEquationWxDoc* CEquationView::Doc() const { return dynamic_cast<CEquationWxDoc*>(GetDocument()); }

SideDocumentHost* CEquationView::Host() const { return SideDocumentHost::Of(GetFrame()); }

wxMenu* CEquationView::CreateMenu() {
    auto* menu = new wxMenu;
    menu->Append(ID_INSERT_NEW, "&Insert New");
    menu->Append(ID_EDIT_LINE, "&Edit Equation Line...");
    menu->Append(ID_DELETE_LINE, "&Delete");
    menu->Append(ID_MOVE_UP, "Move &Up");
    menu->Append(ID_MOVE_DOWN, "Move &Down");
    menu->AppendSeparator();
    menu->Append(ID_READ_ALL, "&Read Equations from Duravane III");
    menu->Append(ID_DUMP_ALL, "&Dump Equations to Duravane III");
    menu->AppendSeparator();
    menu->Append(ID_DOCUMENT_OPTIONS, "&Options for this equation set...");
    return menu;
}

bool CEquationView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags)) return false;
    CEquationWxDoc* equations = Doc();
    auto* parent = wxDynamicCast(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, wxMDIParentFrame);
    if (!parent || !equations) return false;
    auto* frame = new wxDocMDIChildFrame(doc, this, parent, wxID_ANY, doc->GetUserReadableName());
    ContextHelp::SetId(frame, kHelpId);
    list_ = new wxListCtrl(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                           wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_NO_HEADER);
    list_->AppendColumn(wxEmptyString, wxLIST_FORMAT_LEFT, kColumnWidth);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(list_, 1, wxEXPAND);
    frame->SetSizer(sizer);
    SetFrame(frame);
    lines_ = std::make_unique<EquationEditList>(equations->Core());
    Refill();
    BindCommands(frame);
    UpdateMenu(false);
    frame->Show();
    return true;
}

void CEquationView::BindCommands(wxWindow* frame) {
    list_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) { EditLine(); });
    const auto on = [frame](int id, std::function<void()> action) {
        frame->Bind(wxEVT_MENU, [action](wxCommandEvent&) { action(); }, id);
    };
    on(ID_INSERT_NEW, [this] { InsertLine(); });
    on(ID_EDIT_LINE, [this] { EditLine(); });
    on(ID_DELETE_LINE, [this] { DeleteLine(); });
    on(ID_MOVE_UP, [this] { MoveLine(true); });
    on(ID_MOVE_DOWN, [this] { MoveLine(false); });
    on(ID_EDIT_CUT, [this] { CopyLine(true); });
    on(ID_EDIT_COPY, [this] { CopyLine(false); });
    on(ID_EDIT_PASTE, [this] { PasteLine(); });
    on(ID_READ_ALL, [this] { OnReadAll(); });
    on(ID_DUMP_ALL, [this] { OnDumpAll(); });
    on(ID_DOCUMENT_OPTIONS, [this] { OnOptions(); });
    on(ID_FILE_PRINT, [this] { OnFilePrint(); });
    for (int id : {static_cast<int>(ID_EDIT_LINE), static_cast<int>(ID_DELETE_LINE), static_cast<int>(ID_MOVE_UP),
                   static_cast<int>(ID_MOVE_DOWN), static_cast<int>(ID_EDIT_CUT), static_cast<int>(ID_EDIT_COPY)}) {
        frame->Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(CurrentRow() >= 0); }, id);
    }
    frame->Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(CanPaste()); }, ID_EDIT_PASTE);
    for (int id : {ID_READ_ALL, ID_DUMP_ALL}) {
        frame->Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(CanTransfer()); }, id);
    }
    for (int id : {static_cast<int>(ID_INSERT_NEW), static_cast<int>(ID_DOCUMENT_OPTIONS), static_cast<int>(ID_FILE_PRINT)}) {
        frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(true); }, id);
    }
}

void CEquationView::UpdateMenu(bool removing) {
    SideDocumentMenu::Update(*this, kMenuTitle, &CreateMenu, removing,
                             [](const wxView* view) { return dynamic_cast<const CEquationView*>(view) != nullptr; });
}

bool CEquationView::OnClose(bool deleteWindow) {
    if (!wxView::OnClose(deleteWindow)) return false;
    Activate(false);
    UpdateMenu(true);
    if (deleteWindow) {
        if (wxWindow* frame = GetFrame()) frame->Destroy();
        SetFrame(nullptr);
        list_ = nullptr;
    }
    return true;
}

void CEquationView::OnUpdate(wxView* sender, wxObject* hint) {
    wxView::OnUpdate(sender, hint);
    if (!list_ || !lines_) return;
    lines_->Rebuild();
    Refill();
}

void CEquationView::Refill() {
    if (!list_ || !lines_) return;
    list_->Freeze();
    list_->DeleteAllItems();
    const auto& texts = lines_->Texts();
    for (size_t i = 0; i < texts.size(); ++i) list_->InsertItem(static_cast<long>(i), wxString::FromUTF8(texts[i]));
    list_->Thaw();
    if (const auto current = lines_->Current()) SelectRow(static_cast<long>(*current));
}

long CEquationView::CurrentRow() const {
    return list_ ? list_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED) : -1;
}

void CEquationView::SelectRow(long row) {
    if (!list_ || row < 0 || row >= list_->GetItemCount()) return;
    list_->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    list_->EnsureVisible(row);
}

// The list's focus is the current line; every command starts from it.
void CEquationView::Changed() {
    Refill();
    if (lines_->Modified()) {
        lines_->ClearModified();
        if (CEquationWxDoc* doc = Doc()) doc->Modify(true);
    }
}

bool CEquationView::InsertLine() {
    CEquationWxDoc* doc = Doc();
    if (!doc || !lines_) return false;
    if (lines_->Full()) {
        doc->Services().ui.Message(EquationEditList::kFullText, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    CEquationDlg dialog(GetFrame(), nullptr, doc->Core().Context(), doc->Services().ui);
    if (runDialog(dialog) != wxID_OK) return false;
    const long row = CurrentRow();
    lines_->SetCurrent(row >= 0 ? std::optional<size_t>(static_cast<size_t>(row)) : std::nullopt);
    lines_->Insert(std::make_unique<CEquation>(dialog.Line()));
    Changed();
    return true;
}

bool CEquationView::EditLine() {
    CEquationWxDoc* doc = Doc();
    const long row = CurrentRow();
    if (!doc || !lines_ || row < 0) return false;
    lines_->SetCurrent(static_cast<size_t>(row));
    CEquationDlg dialog(GetFrame(), lines_->CurrentLine(), doc->Core().Context(), doc->Services().ui);
    if (runDialog(dialog) != wxID_OK) return false;
    lines_->ReplaceCurrent(dialog.Line());
    Changed();
    return true;
}

void CEquationView::DeleteLine() {
    const long row = CurrentRow();
    if (!lines_ || row < 0) return;
    lines_->SetCurrent(static_cast<size_t>(row));
    lines_->DeleteCurrent();
    Changed();
}

void CEquationView::MoveLine(bool up) {
    const long row = CurrentRow();
    if (!lines_ || row < 0) return;
    lines_->SetCurrent(static_cast<size_t>(row));
    if (up ? lines_->MoveUp() : lines_->MoveDown()) Changed();
}

void CEquationView::CopyLine(bool cut) {
    const long row = CurrentRow();
    if (!lines_ || row < 0) return;
    lines_->SetCurrent(static_cast<size_t>(row));
    wxClipboardLocker lock;
    if (!lock) return;
    const std::string block = lines_->Copy();
    auto* data = new wxCustomDataObject(LineFormat());
    data->SetData(block.size(), block.data());
    wxTheClipboard->SetData(data);
    if (cut) {
        lines_->DeleteCurrent();
        Changed();
    }
}

bool CEquationView::CanPaste() const {
    wxClipboardLocker lock;
    return !!lock && wxTheClipboard->IsSupported(LineFormat());
}

void CEquationView::PasteLine() {
    CEquationWxDoc* doc = Doc();
    if (!doc || !lines_) return;
    std::string block;
    {
        wxClipboardLocker lock;
        if (!lock || !wxTheClipboard->IsSupported(LineFormat())) return;
        wxCustomDataObject data(LineFormat());
        if (!wxTheClipboard->GetData(data)) return;
        block.assign(static_cast<const char*>(data.GetData()), std::min(data.GetSize(), kMaxBlockBytes));
    }
    const long row = CurrentRow();
    lines_->SetCurrent(row >= 0 ? std::optional<size_t>(static_cast<size_t>(row)) : std::nullopt);
    if (lines_->Paste(block) == EquationEditList::PasteResult::kFull) {
        doc->Services().ui.Message(EquationEditList::kFullText, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Changed();
}

void CEquationView::OnOptions() {
    CEquationWxDoc* doc = Doc();
    if (!doc) return;
    CEquationDoc& core = doc->Core();
    CEquationOptionsDlg dialog(GetFrame(), core.SetName(), core.DisableFlag() != 0);
    if (runDialog(dialog) != wxID_OK) return;
    core.SetSetName(dialog.Name());
    core.SetDisableFlag(dialog.DisableAll() ? 1 : 0);
    doc->Modify(true);
}

bool CEquationView::CanTransfer() const {
    const SideDocumentHost* host = Host();
    return host && host->HasDeviceDocument();
}

void CEquationView::OnReadAll() {
    CEquationWxDoc* doc = Doc();
    SideDocumentHost* host = Host();
    if (!doc || !host) return;
    // What the controller holds goes into a document of its own, made only once it has arrived.
    CEquationDoc read(doc->Core().Dictionary());
    {
        wxBusyCursor wait;
        if (!read.Upload(host->Access(doc->Services().ui))) return;
    }
    doc->NewDocumentWith([&read](CEquationDoc& fresh) {
        fresh.Lines() = std::move(read.Lines());
        fresh.SetSetName(read.SetName());
        fresh.SetDisableFlag(read.DisableFlag());
    });
}

void CEquationView::OnDumpAll() {
    CEquationWxDoc* doc = Doc();
    SideDocumentHost* host = Host();
    if (!doc || !host) return;
    bool done = false;
    {
        wxBusyCursor wait;
        done = doc->Core().Download(host->Access(doc->Services().ui));
    }
    if (done) doc->Services().ui.Message(kDownloaded, MB_OK | MB_ICONINFORMATION);
}

std::unique_ptr<wxPrintout> CEquationView::MakePrintout() const {
    const CEquationWxDoc* doc = Doc();
    if (!doc || !lines_) return nullptr;
    const std::string when = wxDateTime::Now().Format("%B %d, %Y %H:%M").utf8_string();
    const std::string header = EquationPrint::Header(doc->GetUserReadableName().utf8_string(), when);
    return std::make_unique<CSheetPrintout>(doc->GetUserReadableName().utf8_string(),
                                            EquationPrint::Print(header, lines_->Texts()), 0, false);
}

wxPrintout* CEquationView::OnCreatePrintout() { return MakePrintout().release(); }

void CEquationView::OnFilePrint() {
    std::unique_ptr<wxPrintout> printout = MakePrintout();
    if (!printout) return;
    CSheetPrintout::PrintAll(GetFrame(), *printout);
}

}  // namespace qs
