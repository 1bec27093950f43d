#include "app/tools/CTerminalFrame.h"

#include <memory>

#include <wx/choice.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "app/common/WxText.h"
#include "app/shell/CommandIds.h"
#include "appmodel/terminal/CannedCommands.h"

namespace qs {

namespace {

wxMenuBar* MainBar(const wxMDIParentFrame* parent) { return parent ? parent->GetMenuBar() : nullptr; }

}  // namespace

CTerminalFrame::CTerminalFrame(wxDocument* doc, wxView* view, wxMDIParentFrame* parent)
    : wxDocMDIChildFrame(doc, view, parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                         wxDEFAULT_FRAME_STYLE & ~(wxRESIZE_BORDER | wxMAXIMIZE_BOX)) {
    BuildForm();

    wxAcceleratorEntry f4(wxACCEL_NORMAL, WXK_F4, CannedCommands::kStatusBitmapId);
    SetAcceleratorTable(wxAcceleratorTable(1, &f4));

    Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& e) {
        ShowMenus(e.GetActive());
        e.Skip();
    });
}

CTerminalFrame::~CTerminalFrame() { ShowMenus(false); }

void CTerminalFrame::BuildForm() {
    auto* form = new wxPanel(this);
    const wxFont courier(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE));
    form->SetFont(courier);

    entry_ = new wxTextCtrl(form, 1005, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_MULTILINE | wxTE_DONTWRAP);
    arms_ = new wxChoice(form, 1187);
    transcript_ = new wxTextCtrl(form, 1186, wxString(), wxDefaultPosition, wxDefaultSize,
                                 wxTE_MULTILINE | wxTE_READONLY | wxTE_DONTWRAP | wxVSCROLL);
    for (wxWindow* w : {static_cast<wxWindow*>(entry_), static_cast<wxWindow*>(arms_),
                        static_cast<wxWindow*>(transcript_)})
        w->SetFont(courier);

    wxCoord charW = 0, charH = 0;
    transcript_->GetTextExtent("M", &charW, &charH);
    const int gap = FromDIP(8);
    const int width = charW * kTranscriptColumns;
    entry_->SetMinSize(wxSize(width - arms_->GetBestSize().x - gap, charH * 2 + FromDIP(8)));
    transcript_->SetMinSize(wxSize(width, charH * kTranscriptLines));

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(entry_, wxSizerFlags(1).Expand());
    top->AddSpacer(gap);
    top->Add(arms_, wxSizerFlags(0).Top());
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(top, wxSizerFlags(0).Expand().Border(wxALL, gap));
    column->Add(transcript_, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, gap));
    form->SetSizer(column);

    // The frame fits the form exactly.
    auto* frameSizer = new wxBoxSizer(wxVERTICAL);
    frameSizer->Add(form, wxSizerFlags(1).Expand());
    SetSizerAndFit(frameSizer);
}

wxMenu* CTerminalFrame::MakeCommandsMenu() {
    auto* menu = new wxMenu;
    for (const CannedGroup& group : CannedCommands::Groups()) {
        auto* sub = new wxMenu;
        for (const CannedCommand& command : group.commands)
            sub->Append(command.id, ToWx(CannedCommands::MenuText(command)));
        menu->AppendSubMenu(sub, ToWx(group.title));
    }
    return menu;
}

void CTerminalFrame::ShowMenus(bool show) {
    wxMenuBar* bar = MainBar(GetMDIParent());
    if (!bar) return;
    if (show == MenusShown()) return;
    const int edit = bar->FindMenu("Edit");
    wxMenu* editMenu = edit != wxNOT_FOUND ? bar->GetMenu(static_cast<size_t>(edit)) : nullptr;
    if (show) {
        commandsMenu_ = MakeCommandsMenu();
        const int window = bar->FindMenu("Window");
        if (window != wxNOT_FOUND) bar->Insert(static_cast<size_t>(window), commandsMenu_, kMenuTitle);
        else bar->Append(commandsMenu_, kMenuTitle);
        if (editMenu) {
            undoItem_ = editMenu->Insert(0, wxID_UNDO, "&Undo\tCtrl+Z");
            undoSeparator_ = editMenu->InsertSeparator(1);
        }
        return;
    }
    for (size_t i = 0; i < bar->GetMenuCount(); ++i) {
        if (bar->GetMenu(i) == commandsMenu_) {
            std::unique_ptr<wxMenu> removed(bar->Remove(i));
            break;
        }
    }
    commandsMenu_ = nullptr;
    if (editMenu) {
        if (undoItem_) editMenu->Destroy(undoItem_);
        if (undoSeparator_) editMenu->Destroy(undoSeparator_);
    }
    undoItem_ = undoSeparator_ = nullptr;
}

wxTextCtrl* CTerminalFrame::FocusedText() const {
    wxWindow* focus = wxWindow::FindFocus();
    if (focus == entry_) return entry_;
    if (focus == transcript_) return transcript_;
    return nullptr;
}

bool CTerminalFrame::CanEdit(int id) const {
    const wxTextCtrl* text = FocusedText();
    if (!text) return false;
    switch (id) {
    case ID_EDIT_CUT: return text->CanCut();
    case ID_EDIT_COPY: return text->CanCopy();
    case ID_EDIT_PASTE: return text->CanPaste();
    case wxID_UNDO: return text->CanUndo();
    default: return false;
    }
}

bool CTerminalFrame::Edit(int id) {
    if (!CanEdit(id)) return false;
    wxTextCtrl* text = FocusedText();
    switch (id) {
    case ID_EDIT_CUT: text->Cut(); return true;
    case ID_EDIT_COPY: text->Copy(); return true;
    case ID_EDIT_PASTE: text->Paste(); return true;
    case wxID_UNDO: text->Undo(); return true;
    default: return false;
    }
}

}  // namespace qs
