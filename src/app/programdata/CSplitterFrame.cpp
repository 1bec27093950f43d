#include "app/programdata/CSplitterFrame.h"

#include <wx/menu.h>
#include <wx/splitter.h>
#include <wx/utils.h>

#include "app/programdata/CDirectoryView.h"
#include "app/shell/CMainFrame.h"
#include "app/common/CSheetPrintout.h"
#include "app/programdata/CVexa3Options.h"
#include "app/programdata/CVexa3WxDoc.h"
#include "app/shell/CommandIds.h"
#include "app/tools/DeviceToolWindows.h"
#include "app/tools/FirmwareUpgradeCommands.h"
#include "app/programdata/ParamPane.h"
#include "app/tools/CThermCalc.h"
#include "app/common/WxText.h"
#include "app/tools/CEmulatorView.h"
#include "appmodel/common/AppServices.h"
#include "platform/UiServices.h"
#include "programdata/AppOptions.h"
#include "programdata/CDirectory.h"
#include "programdata/CSubdirectory.h"
#include "programdata/CVexa3Doc.h"
#include "appmodel/programdata/DeviceCommands.h"
#include "appmodel/terminal/TerminalTool.h"
#include "platform/PrintSheet.h"

namespace qs {

namespace {

DeviceCommandHooks MainWindowHooks() {
    DeviceCommandHooks hooks;
    hooks.waitCursor = [](bool busy) {
        if (busy) wxBeginBusyCursor();
        else if (wxIsBusy()) wxEndBusyCursor();
    };
    // The emulators find the program by this title to give the port back.
    hooks.setMainTitle = [](const std::string& title) {
        if (CMainFrame* main = CMainFrame::Instance()) main->SetTitle(ToWx(title));
    };
    hooks.minimiseMain = [] {
        if (CMainFrame* main = CMainFrame::Instance()) main->Iconize(true);
    };
    return hooks;
}

// The frames of program-data documents share one menu in the main window's menu bar; it is
// there while any of them is.
int g_frames = 0;

wxString MenuText(const DeviceCommandRow& row) {
    wxString text = ToWx(DeviceCommandTable::MenuLabel(row));
    // The shortcut shown beside the item; the keys themselves are the frame's accelerators.
    if (row.accelerator.functionKey != 0) text += "\t" + ToWx(row.accelerator.Text());
    return text;
}

}  // namespace

CSplitterFrame::CSplitterFrame(CVexa3WxDoc* doc, CDirectoryView* view, wxMDIParentFrame* parent)
    : wxDocMDIChildFrame(doc, view, parent, wxID_ANY, doc->GetUserReadableName(), wxDefaultPosition,
                         wxDefaultSize),
      doc_(doc),
      view_(view),
      reap_(this) {
    DeviceCommandHooks hooks = MainWindowHooks();
    hooks.editOptions = [this](const DocumentLinkFields& fields) { return EditOptions(fields); };
    commands_ = std::make_unique<DeviceCommands>(doc->Core(), doc->Services(), std::move(hooks));
    commands_->AddTool<TerminalTool>([doc] { return CEmulatorView::OpenOrActivate(*doc); });
    DeviceToolWindows::Add(*commands_, *doc, this);
    commands_->AddTool<FirmwareUpgradeCommands>(this);
    CThermCalc::AddCommand(commands_->Table(), this, doc->Services().ui);

    splitter_ = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_LIVE_UPDATE | wxSP_3D);
    splitter_->SetMinimumPaneSize(40);
    tree_ = view->CreateTree(splitter_, *this);
    pane_ = CreateParamPane(splitter_, *doc, *this);
    splitter_->SplitVertically(tree_, pane_, kTreeWidth);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(splitter_, 1, wxEXPAND);
    SetSizer(sizer);

    ++g_frames;
    BuildMenu();
    BindCommands();

    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { doc_->Services().launcher.ReapFinished(); }, reap_.GetId());
    reap_.Start(kReapMs);
    // Documents on one COM port may address different devices: the one in front is addressed.
    Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& e) {
        if (e.GetActive() && !DeviceCommands::CommandRunning()) commands_->OnFocus();
        e.Skip();
    });
}

CSplitterFrame::~CSplitterFrame() {
    reap_.Stop();
    if (--g_frames > 0) return;
    if (CMainFrame* main = CMainFrame::Instance()) {
        wxMenuBar* bar = main->GetMenuBar();
        const int at = bar ? bar->FindMenu(wxStripMenuCodes(kMenuTitle)) : wxNOT_FOUND;
        if (at != wxNOT_FOUND) std::unique_ptr<wxMenu> removed(bar->Remove(static_cast<size_t>(at)));
    }
}

const FrameSelection& CSplitterFrame::Selection() const { return commands_->Selection(); }

void CSplitterFrame::SetSelection(const FrameSelection& selection) {
    commands_->SetSelection(selection);
    RefreshPane();
}

void CSplitterFrame::RefreshPane() {
    if (pane_) ParamPaneSelectionChanged(pane_, commands_->Selection());
}

void CSplitterFrame::ActivatePane() {
    if (pane_) pane_->SetFocus();
}

void CSplitterFrame::BuildMenu() {
    CMainFrame* main = CMainFrame::Instance();
    wxMenuBar* bar = main ? main->GetMenuBar() : nullptr;
    if (!bar || bar->FindMenu(wxStripMenuCodes(kMenuTitle)) != wxNOT_FOUND) return;
    auto* menu = new wxMenu;
    const std::vector<DeviceCommandRow>& rows = commands_->Table().Rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0 && rows[i].section != rows[i - 1].section) menu->AppendSeparator();
        menu->Append(CommandNumber(rows[i].id), MenuText(rows[i]));
    }
    // The document's own menu stands before the Window menu.
    const int window = bar->FindMenu("Window");
    if (window != wxNOT_FOUND) bar->Insert(static_cast<size_t>(window), menu, kMenuTitle);
    else bar->Append(menu, kMenuTitle);
}

void CSplitterFrame::BindCommands() {
    std::vector<wxAcceleratorEntry> keys;
    for (const DeviceCommandRow& row : commands_->Table().Rows()) {
        const int id = CommandNumber(row.id);
        const int command = row.id;
        Bind(wxEVT_MENU, [this, command](wxCommandEvent&) { RunCommand(command); }, id);
        Bind(wxEVT_UPDATE_UI, [this, command](wxUpdateUIEvent& e) { e.Enable(commands_->IsEnabled(command)); }, id);
        if (row.accelerator.functionKey >= 1 && row.accelerator.functionKey <= 12)
            keys.emplace_back(row.accelerator.alt ? wxACCEL_ALT : wxACCEL_NORMAL,
                              WXK_F1 + row.accelerator.functionKey - 1, id);
    }
    // wx takes a menu's shortcut only after a bare tab: the keys are registered here.
    SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(keys.size()), keys.data()));

    // The command itself reaches OnPrint through the main window, before the document manager.
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(!DeviceCommands::CommandRunning()); }, ID_FILE_PRINT);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { view_->Copy(); }, ID_EDIT_COPY);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(view_->CanCopy()); }, ID_EDIT_COPY);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { view_->Paste(); }, ID_EDIT_PASTE);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(view_->CanPaste()); }, ID_EDIT_PASTE);
}

void CSplitterFrame::RunCommand(int command) {
    if (!commands_->IsEnabled(command)) return;
    wxWeakRef<CSplitterFrame> self(this);
    commands_->Execute(command);
    if (!self) return;
    RefreshPane();
    if (CMainFrame* main = CMainFrame::Instance()) main->UpdateConnectionPane();
}

void CSplitterFrame::OnDocumentOptions() { RunCommand(kCmdDocumentOptions); }

std::optional<DocumentOptionsChoice> CSplitterFrame::EditOptions(const DocumentLinkFields& fields) {
    const AppServices& services = doc_->Services();
    CVexa3Options dialog(this, fields, services.profile, services.ui);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return DocumentOptionsChoice{dialog.Fields(), dialog.SettingsChanged()};
}

void CSplitterFrame::OnPrint() {
    PrintSheet sheet;
    if (!PrepareSheet(sheet)) return;
    // A document never saved has a name but no path.
    const std::string path = doc_->GetDocumentSaved() ? doc_->GetFilename().utf8_string() : std::string();
    CSheetPrintout printout(path, sheet, doc_->Core().CodePage());
    wxPrintDialogData data = CSheetPrintout::AllPages(printout);
    if (printer_) {
        printer_(printout, data);
        return;
    }
    wxPrinter printer(&data);
    printer.Print(this, &printout, true);
}

bool CSplitterFrame::PrepareSheet(PrintSheet& sheet) {
    const int answer = doc_->Services().ui.Message("Print only the selection?\n(No prints the whole document.)",
                                                   MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return false;
    const bool selectionOnly = answer == IDYES;
    CVexa3Doc& core = doc_->Core();
    const FrameSelection& s = commands_->Selection();
    if (selectionOnly) {
        if (s.Empty()) return false;
        const int saved = core.CurrentArm();
        core.SetCurrentArm(std::max(s.arm, 0));
        if (s.subdirectory) s.subdirectory->Print(sheet);
        else s.directory->Print(sheet);
        core.SetCurrentArm(saved);
    } else {
        core.PrintAll(sheet);
    }
    return true;
}

}  // namespace qs
