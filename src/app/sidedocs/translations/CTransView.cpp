#include "app/sidedocs/translations/CTransView.h"

#include "app/sidedocs/SideDocumentMenu.h"

#include <wx/app.h>
#include <wx/docmdi.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include "app/common/CFindDialog.h"
#include "app/common/CSheetPrintout.h"
#include "app/common/CodePageFont.h"
#include "app/common/CodePageText.h"
#include "app/shell/CommandIds.h"
#include "app/shell/CPowerDocTemplate.h"
#include "app/shell/ContextHelp.h"
#include "app/sidedocs/SideDocumentHost.h"
#include "app/sidedocs/translations/CTextEditDlg.h"
#include "app/sidedocs/translations/CTransOptions.h"
#include "app/sidedocs/translations/CTranslationWxDoc.h"
#include "appmodel/common/AppServices.h"
#include "platform/UiServices.h"
#include "sidedocs/translations/DeviceLiterals.h"
#include "sidedocs/translations/TranslationBackup.h"
#include "sidedocs/translations/TranslationPrint.h"

namespace qs {

wxIMPLEMENT_DYNAMIC_CLASS(CTransView, wxView);

// The two columns, drawn row by row from the document as they come into sight.
class CTransView::Rows : public wxListCtrl {
public:
    Rows(wxWindow* parent, CTransView& view)
        : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                     wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL),
          view_(view) {}

    wxString OnGetItemText(long item, long column) const override { return view_.CellText(item, static_cast<int>(column)); }

private:
    CTransView& view_;
};

CTransView::CTransView() : search_(static_cast<int>(DeviceLiterals::kLiteralCount)) {
    runDialog = [](wxDialog& dialog) { return dialog.ShowModal(); };
}

CTransView::~CTransView() {
    if (find_) find_->Destroy();
}

wxListCtrl* CTransView::List() const { return list_; }

CTranslationWxDoc* CTransView::Doc() const { return dynamic_cast<CTranslationWxDoc*>(GetDocument()); }

SideDocumentHost* CTransView::Host() const { return SideDocumentHost::Of(GetFrame()); }

wxMenu* CTransView::CreateMenu() {
    auto* menu = new wxMenu;
    menu->Append(ID_READ_ALL, "&Read all translation entries from Duravane III");
    menu->Append(ID_DUMP_ALL, "&Dump translated test to Duravane III");
    menu->AppendSeparator();
    menu->Append(ID_DOCUMENT_OPTIONS, "&Options for this Translation...");
    return menu;
}

bool CTransView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags)) return false;
    auto* parent = wxDynamicCast(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, wxMDIParentFrame);
    if (!parent) return false;
    auto* frame = new wxDocMDIChildFrame(doc, this, parent, wxID_ANY, doc->GetUserReadableName());
    ContextHelp::SetId(frame, kHelpId);
    list_ = new Rows(frame, *this);
    list_->AppendColumn("Original", wxLIST_FORMAT_LEFT, kColumnWidth);
    list_->AppendColumn("Translation", wxLIST_FORMAT_LEFT, kColumnWidth);
    list_->SetItemCount(static_cast<long>(DeviceLiterals::kLiteralCount));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(list_, 1, wxEXPAND);
    frame->SetSizer(sizer);
    SetFrame(frame);
    ApplyFont();
    BindCommands(frame);
    UpdateMenu(false);
    frame->Show();
    return true;
}

void CTransView::BindCommands(wxWindow* frame) {
    list_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent& e) { EditRow(e.GetIndex()); });
    frame->Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnReadAll(); }, ID_READ_ALL);
    frame->Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnDumpAll(); }, ID_DUMP_ALL);
    frame->Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnOptions(); }, ID_DOCUMENT_OPTIONS);
    frame->Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnFind(); }, ID_EDIT_FIND);
    frame->Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnFilePrint(); }, ID_FILE_PRINT);
    for (int id : {ID_READ_ALL, ID_DUMP_ALL}) {
        frame->Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(CanTransfer()); }, id);
    }
    for (int id : {static_cast<int>(ID_DOCUMENT_OPTIONS), static_cast<int>(ID_EDIT_FIND), static_cast<int>(ID_FILE_PRINT)}) {
        frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(true); }, id);
    }
    // A translation has one window only.
    frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(false); }, ID_WINDOW_NEW);
    frame->Bind(wxEVT_QS_FIND, [this](FindRequestEvent& e) {
        if (CFindDialog* dialog = e.Dialog()) OnFindRequest(e.Request(), *dialog);
    });
}

void CTransView::UpdateMenu(bool removing) {
    SideDocumentMenu::Update(*this, kMenuTitle, &CreateMenu, removing,
                             [](const wxView* view) { return dynamic_cast<const CTransView*>(view) != nullptr; });
}

bool CTransView::OnClose(bool deleteWindow) {
    if (!wxView::OnClose(deleteWindow)) return false;
    Activate(false);
    UpdateMenu(true);
    if (find_) {
        find_->Destroy();
        find_ = nullptr;
    }
    if (deleteWindow) {
        if (wxWindow* frame = GetFrame()) frame->Destroy();
        SetFrame(nullptr);
        list_ = nullptr;
    }
    return true;
}

void CTransView::ApplyFont() {
    const CTranslationWxDoc* doc = Doc();
    font_ = CodePageFont(doc ? doc->Core().CharacterSet() : 0);
    if (list_) {
        list_->SetFont(font_);
        list_->Refresh();
    }
}

wxString CTransView::CellText(long row, int column) const {
    const CTranslationWxDoc* doc = Doc();
    if (row < 0 || !doc) return {};
    const auto index = static_cast<size_t>(row);
    if (column == 0) return FromCodePage(DeviceLiterals::Text(index), 0);
    return FromCodePage(doc->Core().Text(index), doc->Core().CharacterSet());
}

long CTransView::FocusedRow() const {
    return list_ ? list_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED) : -1;
}

void CTransView::OnUpdate(wxView* sender, wxObject* hint) {
    wxView::OnUpdate(sender, hint);
    if (!list_) return;
    if (!initialUpdateDone_) {
        FirstUpdate();
        return;
    }
    ApplyFont();
}

void CTransView::FirstUpdate() {
    initialUpdateDone_ = true;
    ApplyFont();
    CTranslationWxDoc* doc = Doc();
    if (!doc || !doc->Core().Upgraded()) return;
    doc->Core().ClearUpgraded();
    doc->Modify(true);
    const UiServices& ui = doc->Services().ui;
    if (!TranslationBackup::Rename(doc->GetFilename().utf8_string())) {
        ui.Message(kBackupFailed, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ui.Message(std::string(kBackedUpPrefix) + TranslationBackup::kExtension, MB_OK | MB_ICONINFORMATION);
    // Once the document has finished opening, the upgraded translation goes under the old name.
    wxWeakRef<wxDocument> weak(doc);
    wxTheApp->CallAfter([weak] {
        if (weak) weak->Save();
    });
}

bool CTransView::EditRow(long row) {
    CTranslationWxDoc* doc = Doc();
    if (!doc || row < 0 || row >= static_cast<long>(DeviceLiterals::kLiteralCount)) return false;
    const auto index = static_cast<size_t>(row);
    CTranslation& core = doc->Core();
    CTextEditDlg dialog(GetFrame(), std::string(DeviceLiterals::Text(index)), core.Text(index), core.CharacterSet(),
                        font_, doc->Services().ui);
    if (runDialog(dialog) != wxID_OK) return false;
    if (dialog.NewText() == core.Text(index)) return false;
    core.SetText(index, dialog.NewText());
    list_->RefreshItem(row);
    doc->Modify(true);
    return true;
}

void CTransView::OnOptions() {
    CTranslationWxDoc* doc = Doc();
    if (!doc) return;
    CTranslation& core = doc->Core();
    CTransOptions dialog(GetFrame(), core.Name(), core.CharacterSet(), doc->Services().ui);
    if (runDialog(dialog) != wxID_OK) return;
    core.SetName(dialog.Name());
    if (dialog.CharacterSet() != core.CharacterSet()) {
        core.SetCharacterSet(dialog.CharacterSet());
        ApplyFont();
    }
    doc->Modify(true);
}

void CTransView::OnFind() {
    if (!find_) find_ = new CFindDialog(GetFrame());
    find_->Show();
    find_->Raise();
}

bool CTransView::OnFindRequest(int kind, CFindDialog& dialog) {
    if (kind == kFindOpened) return false;
    const CTranslationWxDoc* doc = Doc();
    if (!doc || !list_) return false;
    const std::optional<int> found =
        search_.Find(kind, dialog.direction == 1, static_cast<int>(FocusedRow()), [&](int row) {
            return dialog.MatchText(CellText(row, 0)) || dialog.MatchText(CellText(row, 1));
        });
    if (!found) {
        doc->Services().ui.Message(kNotFound, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    list_->EnsureVisible(*found);
    list_->SetItemState(*found, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                        wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    return true;
}

bool CTransView::CanTransfer() const {
    const SideDocumentHost* host = Host();
    return host && host->HasDeviceDocument();
}

void CTransView::OnReadAll() {
    CTranslationWxDoc* doc = Doc();
    SideDocumentHost* host = Host();
    if (!doc || !host) return;
    // The translation read goes into a document of its own, made only once it has arrived.
    CTranslation read;
    {
        wxBusyCursor wait;
        if (!read.UploadFromDevice(host->Access(doc->Services().ui))) return;
    }
    doc->NewDocumentWith([&read](CTranslation& fresh) { fresh = std::move(read); });
}

void CTransView::OnDumpAll() {
    CTranslationWxDoc* doc = Doc();
    SideDocumentHost* host = Host();
    if (!doc || !host) return;
    bool done = false;
    {
        wxBusyCursor wait;
        done = doc->Core().DownloadToDevice(host->Access(doc->Services().ui));
    }
    if (done) doc->Services().ui.Message(kDownloaded, MB_OK | MB_ICONINFORMATION);
}

std::unique_ptr<wxPrintout> CTransView::MakePrintout() const {
    const CTranslationWxDoc* doc = Doc();
    if (!doc) return nullptr;
    const int set = doc->Core().CharacterSet();
    auto printout = std::make_unique<CSheetPrintout>(doc->GetUserReadableName().utf8_string(),
                                                     TranslationPrint::Print(doc->Core()), set);
    printout->SetFont(CodePageFont(set));
    return printout;
}

wxPrintout* CTransView::OnCreatePrintout() { return MakePrintout().release(); }

void CTransView::OnFilePrint() {
    std::unique_ptr<wxPrintout> printout = MakePrintout();
    if (!printout) return;
    CSheetPrintout::PrintAll(GetFrame(), *printout);
}

}  // namespace qs
