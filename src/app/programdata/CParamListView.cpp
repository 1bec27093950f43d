#include "app/programdata/CParamListView.h"

#include <wx/splitter.h>

#include <algorithm>

#include "app/programdata/CVexa3WxDoc.h"
#include "app/common/CodePageFont.h"
#include "app/common/CodePageText.h"
#include "app/shell/ContextHelp.h"
#include "app/programdata/ParamEditDialogs.h"
#include "appmodel/common/AppServices.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "programdata/CSubdirectory.h"
#include "programdata/CVexa3Doc.h"
#include "platform/PrintSheet.h"

namespace qs {

namespace {

// The device kind of an operator panel: its document has no codes to edit here.
constexpr int kOperatorPanel = 8;

struct ColumnSpec {
    const char* heading;
    int width;
};
constexpr ColumnSpec kColumns[] = {{"ID  Description", 180}, {"Value", 180}, {"Comments", 100}, {"Sec. Lvl", 120}};

// The kind of list the last fill of any view showed: a new list of the same kind keeps the row
// the user had, so stepping from Meter 1 to Meter 2 stays on the same code. Kept as type and
// index, never as pointers, so a closed document leaves nothing behind.
struct ListKind {
    int type = -1;
    int subdirectory = -1;

    bool SameAs(const ListKind& other) const {
        if (type < 0 || other.type < 0) return false;
        if (type == CDirectory::kRecipe && other.type == CDirectory::kRecipe) return true;
        return type == other.type && subdirectory == other.subdirectory;
    }
};
ListKind g_lastFilled;

int ClampArm(int arm) { return std::clamp(arm, 0, CVexa3Doc::kMaxArms - 1); }

std::string LevelText(uint8_t level) {
    const int signedLevel = static_cast<int8_t>(level);
    return signedLevel < 0 ? std::string("N/A") : std::to_string(signedLevel + 1);
}

}  // namespace

CParamListView::CParamListView(wxWindow* parent, CVexa3WxDoc& document)
    : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_NO_SORT_HEADER | wxWANTS_CHARS),
      doc_(document) {
    SetFont(CodePageFont(doc_.Core().CodePage()));
    ContextHelp::SetId(this, kHelpId);
    for (int c = kNameColumn; c <= kCommentsColumn; ++c) AppendColumn(kColumns[c].heading, wxLIST_FORMAT_LEFT, kColumns[c].width);

    // The first list shown: the first directory's first subdirectory, its first instance, arm 1.
    if (CDirectory* first = doc_.Core().FirstDirectory()) {
        shown_.directory = first;
        shown_.subdirectory = first->FirstWalked();
        shown_.instance = 0;
        shown_.arm = 0;
    }
    runDialog_ = [this](ParamEditRequest& request) { return RunParamEditDialog(this, request); };

    Bind(wxEVT_CHAR_HOOK, &CParamListView::OnCharHook, this);
    Bind(wxEVT_LIST_ITEM_ACTIVATED, &CParamListView::OnActivated, this);
    Fill();
}

void CParamListView::SelectionChanged(const FrameSelection& selection) {
    const bool differs = selection.directory != shown_.directory || selection.subdirectory != shown_.subdirectory ||
                         selection.instance != shown_.instance || selection.arm != shown_.arm;
    if (differs) {
        shown_ = selection;
        // Nothing selected is no arm; the codes of the first arm then stand.
        shown_.arm = ClampArm(selection.arm);
    }
    Fill();
}

void CParamListView::SetColumns() {
    // The columns keep their widths from one list to the next, also a width the user dragged.
    const bool shown = GetColumnCount() > kLevelColumn;
    const bool wanted = doc_.Core().Options().ShowSecLvl;
    if (shown && !wanted) DeleteColumn(kLevelColumn);
    if (!shown && wanted)
        InsertColumn(kLevelColumn, kColumns[kLevelColumn].heading, wxLIST_FORMAT_LEFT, kColumns[kLevelColumn].width);
}

int CParamListView::ValueIndex() const {
    return shown_.subdirectory ? shown_.subdirectory->ValueIndex(ClampArm(shown_.arm)) : 0;
}

void CParamListView::Fill() {
    SetColumns();
    const long remembered = FocusedRow();
    Freeze();
    DeleteAllItems();

    ListKind kind;
    if (shown_.directory) kind.type = shown_.directory->Type();
    if (shown_.subdirectory) {
        kind.subdirectory = shown_.subdirectory->Id();
        const auto codes =
            ParamEditFlow::ListedCodes(*shown_.subdirectory, ClampArm(shown_.arm), doc_.Core().ActiveArmCount());
        for (size_t i = 0; i < codes.size(); ++i) AddRow(static_cast<long>(i), *codes[i]);
    }
    if (kind.SameAs(g_lastFilled) && remembered >= 0 && remembered < GetItemCount()) {
        SetItemState(remembered, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                     wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    }
    g_lastFilled = kind;
    if (FocusedRow() < 0 && GetItemCount() > 0)
        SetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    // A refill starts at the top; the row kept is brought back into sight.
    if (const long focused = FocusedRow(); focused >= 0) EnsureVisible(focused);
    Thaw();
    Enable(doc_.Core().DeviceKind() != kOperatorPanel);
    // The rows are laid out, and drawn, in idle time; a transfer's progress window pumps no idle
    // time while it waits for Close, so the rows just read would stay blank until then.
    Update();
}

void CParamListView::AddRow(long row, CParam& param) {
    const int codePage = doc_.Core().CodePage();
    InsertItem(row, FromCodePage(param.Name(), codePage));
    SetItemPtrData(row, reinterpret_cast<wxUIntPtr>(&param));
    SetItem(row, kCommentsColumn, FromCodePage(param.GetApplicabilityText(), codePage));
    RefreshRow(row);
}

void CParamListView::RefreshRow(long row) {
    const CParam* param = RowParam(row);
    if (param == nullptr) return;
    const int index = ValueIndex();
    const std::string value = param->HasOptionList() ? param->Value(index) : param->FormatValue(index);
    SetItem(row, kValueColumn, FromCodePage(value, doc_.Core().CodePage()));
    if (GetColumnCount() > kLevelColumn) SetItem(row, kLevelColumn, LevelText(param->Level()));
}

CParam* CParamListView::RowParam(long row) const {
    if (row < 0 || row >= GetItemCount()) return nullptr;
    return reinterpret_cast<CParam*>(GetItemData(row));
}

std::string CParamListView::CellText(long row, int column) const {
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= GetColumnCount()) return {};
    return GetItemText(row, column).utf8_string();
}

long CParamListView::FocusedRow() const { return GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED); }

bool CParamListView::EditRow(long row) {
    CParam* param = RowParam(row);
    // The editor is modal, but a queued key could still arrive while it closes.
    if (param == nullptr || editing_ || !IsEnabled()) return false;
    editing_ = true;
    ParamEditFlow flow(doc_.Core(), doc_.Services().ui);
    lastOutcome_ = flow.Edit(ParamEditTarget{shown_.subdirectory, param, ClampArm(shown_.arm)}, runDialog_);
    editing_ = false;
    // The row shows what the document now keeps: the value stored, or the device's echo.
    for (long r = 0; r < GetItemCount(); ++r) {
        if (RowParam(r) == param) RefreshRow(r);
    }
    return true;
}

void CParamListView::Print(PrintSheet& sheet, bool selectionOnly, const std::string& when) const {
    // A document never saved has no path to show.
    const std::string path = doc_.GetDocumentSaved() ? doc_.GetFilename().utf8_string() : std::string();
    sheet.AddLine(path + " - " + when);
    if (!selectionOnly) {
        doc_.Core().PrintAll(sheet);
    } else if (shown_.subdirectory) {
        shown_.subdirectory->Print(sheet);
    } else if (shown_.directory) {
        shown_.directory->Print(sheet);
    }
}

void CParamListView::ActivateTree() {
    if (activateTree_) {
        activateTree_();
        return;
    }
    if (auto* splitter = dynamic_cast<wxSplitterWindow*>(GetParent())) {
        if (wxWindow* tree = splitter->GetWindow1(); tree && tree != this) {
            tree->SetFocus();
            return;
        }
    }
    Navigate(wxNavigationKeyEvent::IsBackward);
}

void CParamListView::OnCharHook(wxKeyEvent& event) {
    switch (event.GetKeyCode()) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        EditRow(FocusedRow());
        return;
    case WXK_TAB:
        ActivateTree();
        return;
    default:
        event.Skip();
    }
}

void CParamListView::OnActivated(wxListEvent& event) { EditRow(event.GetIndex()); }

}  // namespace qs
