#include "app/shell/CMainFrame.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>

#include <wx/display.h>
#include <wx/filehistory.h>
#include <wx/menu.h>
#include <wx/utils.h>
#include <wx/weakref.h>

#include "app/shell/CConnectBar.h"
#include "app/shell/CEditBar.h"
#include "app/shell/CErrorLogView.h"
#include "app/shell/CMainStatusBar.h"
#include "app/shell/MainMenus.h"
#include "app/programdata/CSplitterFrame.h"
#include "appmodel/programdata/DeviceCommands.h"
#include "app/shell/CPowerDocTemplate.h"
#include "app/common/CStringArrayDialog.h"
#include "app/shell/CToolDlg.h"
#include "app/programdata/CVexa3WxDoc.h"
#include "app/shell/CommandIds.h"
#include "app/shell/ContextHelp.h"
#include "app/common/ModalPump.h"
#include "app/shell/SettingsStore.h"
#include "app/shell/ShellContext.h"
#include "app/common/WxText.h"
#include "appmodel/common/AppServices.h"
#include "link/ComPortTable.h"
#include "link/DX3Protocol.h"
#include "platform/UiServices.h"
#include "programdata/AppOptions.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

namespace {

wxWeakRef<CMainFrame> g_instance;

// Text colours of the connection states (COLORREF; -1 = the pane's own colour).
constexpr long long kStateColours[] = {-1, -1, 0x88FF8800, 0x0000AA00, 0x0000FF00, -1};

wxColour StateColour(int state) {
    if (state < 0 || state >= static_cast<int>(std::size(kStateColours)) || kStateColours[state] < 0)
        return wxNullColour;
    return FromColorRef(static_cast<uint32_t>(kStateColours[state]));
}

// The device commands, on the Edit and Connect toolbars: a program-data document's window
// answers them when it is active; where none does, they are off.
constexpr int kDelegatedCommands[] = {
    ID_READ_ALL,          ID_DUMP_ALL,           ID_READ_SELECTION,       ID_DUMP_SELECTION,
    ID_TERMINAL_EMULATOR, ID_RETRIEVE_NONRESETTABLES, ID_TRANSACTION_LOG, ID_EVENT_LOG,
    ID_AUDIT_TRAIL_LOG,   ID_REMOTE_DISPLAY,     ID_INTERACTIVE_DISPLAY,  ID_UPGRADE_DEVICE_FIRMWARE,
    ID_GO_ONLINE,         ID_GO_OFFLINE,         ID_THERMAL_CALCULATOR,   ID_DOCUMENT_OPTIONS,
    ID_UPGRADE_MMI_FIRMWARE,
};

}  // namespace

void CMainFrame::MessagePane::SetStatusText(const std::string& text) {
    if (frame_.statusBar_) frame_.statusBar_->SetStatusText(ToWx(text), CMainStatusBar::kMessagePane);
}

CMainFrame::CMainFrame(wxDocManager* manager, const wxString& title)
    : wxDocMDIParentFrame(manager, nullptr, wxID_ANY, title, wxDefaultPosition,
                          wxSize(kDefaultWidth, kDefaultHeight)),
      tick_(this) {
    g_instance = this;
    ContextHelp::SetId(this, kHelpMainFrame);
    MakeServices();
    if (SettingsStore* settings = Shell().settings) {
        colour_ = settings->GetInt(kGeneralSection, kColorKey, 1) != 0;
        toolTips_ = settings->GetInt(kGeneralSection, kToolTipsKey, 1) != 0;
    }
    BuildMenus();
    BuildBars();
    // Last: building the bars lays the frame out again.
    RestorePlacement();

    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnCloseWindow, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
        TrackNormalRect();
        e.Skip();
    });
    Bind(wxEVT_MOVE, [this](wxMoveEvent& e) {
        TrackNormalRect();
        e.Skip();
    });
    Bind(wxEVT_TIMER, &CMainFrame::OnTick, this, tick_.GetId());
    tick_.Start(kTickMs);

    UiServices& ui = Ui();
    ui.status = &messagePane_;
    ui.errorLog = this;
}

CMainFrame::~CMainFrame() {
    tick_.Stop();
    // The manager and its templates may outlive the frame; no document is made with its
    // services after it.
    templates_.SetServices(nullptr);
    UiServices& ui = Ui();
    if (ui.status == &messagePane_) ui.status = nullptr;
    if (ui.errorLog == this) ui.errorLog = nullptr;
    if (errorLog_) errorLog_->Detach();
    aui_.UnInit();
}

CMainFrame* CMainFrame::Instance() { return g_instance.get(); }

void CMainFrame::MakeServices() {
    const ShellContext& shell = Shell();
    const AppOptions* options = shell.options;
    if (!options) {
        // A shell without options connects nothing by itself.
        spareOptions_ = std::make_unique<AppOptions>();
        spareOptions_->AutoConnect = false;
        options = spareOptions_.get();
    }
    ComPortTable* ports = shell.ports;
    if (!ports) {
        sparePorts_ = std::make_unique<ComPortTable>();
        ports = sparePorts_.get();
    }
    services_ = std::make_unique<AppServices>(AppServices{
        .ui = Ui(),
        .options = *options,
        .ports = *ports,
        .launcher = launcher_,
        .profile = IniProfile(shell.iniPath),
        .programDir = ProcessLauncher::ExecutableDir(),
        .definitions = DefinitionSource::FromEnvironment(shell.com1),
        .ftpTimeouts = shell.ftpTimeouts,
    });
}

void CMainFrame::SetTemplates(const DocTemplates& templates) {
    templates_ = templates;
    templates_.SetServices(services_.get());
}

// ---------------------------------------------------------------- menus and bars

void CMainFrame::RegisterCommands() {
    using Row = MainCommandRow;
    // Answered by the window of the active document when it can; off where none does.
    auto off = [] { return false; };
    MainCommandTable& t = commands_;

    // File New makes a program-data document through the wizard, not the manager's chooser.
    Row fileNew = Row::Command(ID_FILE_NEW, MainMenu::File, "&New...\tCtrl+N", [this] { OnFileNew(); });
    fileNew.help = "Create a new program-data document";
    t.Register(std::move(fileNew));
    t.Register(Row::Submenu(MainMenu::File, "New &Side Document", MainMenu::NewSideDocument));
    // Open, Close, Save and Save As are the document manager's.
    t.Register(Row::Command(ID_FILE_OPEN, MainMenu::File, "&Open...\tCtrl+O"));
    t.Register(Row::Command(ID_FILE_CLOSE, MainMenu::File, "&Close"));
    t.Register(Row::Command(ID_FILE_SAVE, MainMenu::File, "&Save\tCtrl+S"));
    t.Register(Row::Command(ID_FILE_SAVE_AS, MainMenu::File, "Save &As..."));
    t.Register(Row::Separator(MainMenu::File));
    t.Register(Row::Command(ID_FILE_PRINT, MainMenu::File, "&Print...\tCtrl+P", {}, off));
    t.Register(Row::Separator(MainMenu::File));
    t.Register(Row::Submenu(MainMenu::File, "Recent &Files", MainMenu::RecentFiles));
    t.Register(Row::Separator(MainMenu::File));
    t.Register(Row::Command(ID_APP_EXIT, MainMenu::File, "E&xit", [this] { Close(); }));

    // One New command per side-document kind, enabled once the kind exists.
    struct SideKind {
        int id;
        const char* text;
        CPowerDocTemplate* DocTemplates::*docTemplate;
    };
    const SideKind sideKinds[] = {
        {ID_NEW_REPORT, "&Report Configuration", &DocTemplates::report},
        {ID_NEW_TRANSLATION, "&Translation", &DocTemplates::translation},
        {ID_NEW_EQUATION_SET, "&Equation Set", &DocTemplates::equation},
        {ID_NEW_DRIVER_DATABASE, "&Driver Database", &DocTemplates::database},
    };
    for (const SideKind& kind : sideKinds) {
        auto which = kind.docTemplate;
        t.Register(Row::Command(kind.id, MainMenu::NewSideDocument, kind.text,
                                [this, which] { NewSideDocument(templates_.*which); },
                                [this, which] {
                                    CPowerDocTemplate* made = templates_.*which;
                                    return made != nullptr && made->IsAvailable();
                                }));
    }

    t.Register(Row::Command(ID_EDIT_CUT, MainMenu::Edit, "Cu&t\tCtrl+X", {}, off));
    t.Register(Row::Command(ID_EDIT_COPY, MainMenu::Edit, "&Copy\tCtrl+C", {}, off));
    t.Register(Row::Command(ID_EDIT_PASTE, MainMenu::Edit, "&Paste\tCtrl+V", {}, off));

    auto toggleStatus = [this] { ShowBar(statusBar_, !statusBar_->IsShown()); };
    auto statusShown = [this] { return statusBar_ && statusBar_->IsShown(); };
    t.Register(Row::Command(ID_VIEW_TOOLBARS, MainMenu::View, "&Toolbars...", [this] { OnToolbars(); }));
    t.Register(Row::Check(ID_VIEW_STATUS_BAR, MainMenu::View, "&Status Bar", toggleStatus, {}, statusShown));

    // The application's.
    t.Register(Row::Command(ID_APP_OPTIONS, MainMenu::Options, "&General..."));

    // On GTK the documents are tabs, which Cascade and Tile leave as they are.
    auto anyChild = [this] { return GetActiveChild() != nullptr; };
    t.Register(Row::Command(
        ID_WINDOW_NEW, MainMenu::Window, "&New Window",
        [this] {
            wxDocument* doc = ActiveDocument();
            if (doc && doc->GetDocumentTemplate()) doc->GetDocumentTemplate()->CreateView(doc);
        },
        [this] {
            wxDocument* doc = ActiveDocument();
            return doc && doc->GetDocumentTemplate() && doc->GetDocumentTemplate()->GetViewClassInfo();
        }));
    t.Register(Row::Command(ID_WINDOW_CASCADE, MainMenu::Window, "&Cascade", [this] { Cascade(); }, anyChild));
    t.Register(Row::Command(ID_WINDOW_TILE_HORZ, MainMenu::Window, "Tile &Horizontally",
                            [this] { Tile(wxHORIZONTAL); }, anyChild));
    t.Register(Row::Command(ID_WINDOW_TILE_VERT, MainMenu::Window, "Tile &Vertically", [this] { Tile(wxVERTICAL); },
                            anyChild));

    // The application's.
    t.Register(Row::Command(ID_HELP_CONTENTS, MainMenu::Help, "&Contents"));
    t.Register(Row::Command(ID_HELP_INDEX, MainMenu::Help, "&Index"));
    t.Register(Row::Command(ID_HELP, MainMenu::Help, "&Help\tF1"));
    t.Register(Row::Separator(MainMenu::Help));
    t.Register(Row::Command(ID_APP_ABOUT, MainMenu::Help, "&About Quillset..."));

    // The toolbar menu lists the Standard and Connect bars, but only the Edit bar and the status
    // bar are switched from there.
    t.Register(Row::Check(ID_VIEW_MAIN_BAR, MainMenu::BarPopup, "&Main", {}, off,
                          [this] { return IsBarShown(standardBar_); }));
    t.Register(Row::Check(ID_VIEW_EDIT_BAR, MainMenu::BarPopup, "&Edit",
                          [this] { ShowBar(editBar_, !IsBarShown(editBar_)); }, {},
                          [this] { return IsBarShown(editBar_); }));
    t.Register(Row::Check(ID_VIEW_CONNECT_BAR, MainMenu::BarPopup, "&Connect", {}, off,
                          [this] { return IsBarShown(connectBar_); }));
    t.Register(Row::Separator(MainMenu::BarPopup));
    t.Register(Row::Check(ID_VIEW_STATUS_BAR, MainMenu::BarPopup, "&Status Bar", toggleStatus, {}, statusShown));
}

void CMainFrame::BuildMenus() {
    RegisterCommands();
    menus_ = std::make_unique<MainMenus>(*this, *GetDocumentManager(), commands_);
    SetMenuBar(menus_->MakeBar());
    menus_->BindCommands(kDelegatedCommands);
}

void CMainFrame::BuildBars() {
    aui_.SetManagedWindow(this);
    standardBar_ = new CIconToolBar(this, ID_STANDARD_BAR, CIconToolBar::StandardButtons(), colour_, toolTips_);
    editBar_ = new CEditBar(this, colour_, toolTips_);
    connectBar_ = new CConnectBar(this, colour_, toolTips_);
    int position = 0;
    for (auto [bar, name] : {std::pair<wxWindow*, const char*>{standardBar_, "Standard"},
                             {editBar_, "Edit"},
                             {connectBar_, "Connect"}}) {
        aui_.AddPane(bar, wxAuiPaneInfo()
                              .Name(name)
                              .Caption(name)
                              .ToolbarPane()
                              .Top()
                              .Row(0)
                              .Position(position++)
                              .LeftDockable(true)
                              .RightDockable(true)
                              .CloseButton(false));
        bar->Bind(wxEVT_RIGHT_DOWN, [this](wxMouseEvent&) {
            std::unique_ptr<wxMenu> menu(BarMenu());
            PopupMenu(menu.get());
        });
    }
    aui_.AddPane(GetClientWindow(), wxAuiPaneInfo().Name("documents").CenterPane().PaneBorder(false));
    aui_.Update();

    statusBar_ = new CMainStatusBar(this, ID_VIEW_STATUS_BAR);
    SetStatusBar(statusBar_);
}

wxMenu* CMainFrame::BarMenu() { return menus_->Make(MainMenu::BarPopup); }

bool CMainFrame::IsBarShown(wxWindow* bar) {
    if (!bar) return false;
    if (bar == statusBar_) return statusBar_->IsShown();
    return aui_.GetPane(bar).IsShown();
}

void CMainFrame::ShowBar(wxWindow* bar, bool show) {
    if (!bar) return;
    if (bar == statusBar_) {
        statusBar_->Show(show);
        SendSizeEvent();
        return;
    }
    aui_.GetPane(bar).Show(show);
    aui_.Update();
}

void CMainFrame::OnToolbars() {
    CToolDlg dlg(this);
    dlg.showMain = IsBarShown(standardBar_);
    dlg.showEdit = IsBarShown(editBar_);
    dlg.toolTips = toolTips_ ? 0 : 1;
    dlg.colour = colour_ ? 0 : 1;
    if (dlg.ShowModal() != wxID_OK) return;
    ApplyToolbarChoices(dlg.showMain, dlg.showEdit, dlg.toolTips == 0, dlg.colour == 0);
}

void CMainFrame::ApplyToolbarChoices(bool showMain, bool showEdit, bool toolTips, bool colour) {
    toolTips_ = toolTips;
    colour_ = colour;
    standardBar_->SetColour(colour_);
    editBar_->SetColour(colour_);
    aui_.GetPane(standardBar_).Show(showMain);
    aui_.GetPane(editBar_).Show(showEdit);
    aui_.Update();
}

// ---------------------------------------------------------------- placement

void CMainFrame::RestorePlacement() {
    SettingsStore* settings = Shell().settings;
    std::optional<WindowPlacement::Restore> restore;
    if (settings) {
        if (auto placement = WindowPlacement::Parse(settings->GetString(kSettingsSection, kWindowPosKey))) {
            std::vector<WindowPlacement::Rect> screens;
            for (unsigned i = 0; i < wxDisplay::GetCount(); ++i) {
                const wxRect g = wxDisplay(i).GetGeometry();
                screens.push_back({g.x, g.y, g.width, g.height});
            }
            restore = placement->Resolve(screens);
        }
    }
    if (restore) {
        normalRect_ = wxRect(restore->normal.x, restore->normal.y, restore->normal.width, restore->normal.height);
        SetSize(normalRect_);
        if (restore->maximized) Maximize(true);
    } else {
        SetSize(kDefaultWidth, kDefaultHeight);
        Centre();
        normalRect_ = GetRect();
    }
}

bool CMainFrame::Show(bool show) {
    const bool changed = wxDocMDIParentFrame::Show(show);
    if (show && !placed_) {
        placed_ = true;
        // A window manager may place the new window itself, whatever position it was given
        // before it was shown: the placement is applied again once it is up, and from then on
        // the frame's own moves and sizes are what is kept.
        wxWeakRef<CMainFrame> self(this);
        CallAfter([self] {
            if (!self) return;
            if (!self->IsMaximized() && !self->IsIconized()) self->SetSize(self->normalRect_);
            self->tracking_ = true;
        });
    }
    return changed;
}

void CMainFrame::TrackNormalRect() {
    if (!tracking_ || !IsShown() || IsMaximized() || IsIconized() || IsFullScreen()) return;
    const wxRect rect = GetRect();
    // Sizes on the way to the first real one (while the window is being mapped) are not kept.
    if (rect.width < WindowPlacement::kMinWidth || rect.height < WindowPlacement::kMinHeight) return;
    normalRect_ = rect;
}

WindowPlacement CMainFrame::CurrentPlacement() const {
    WindowPlacement p;
    const bool maximized = IsMaximized();
    p.flags = maximized ? static_cast<unsigned>(WindowPlacement::kWpfRestoreToMaximized) : 0u;
    p.showCmd = WindowPlacement::kSwShowNormal;
    if (IsIconized()) p.showCmd = WindowPlacement::kSwShowMinimized;
    else if (maximized) p.showCmd = WindowPlacement::kSwShowMaximized;
    p.left = normalRect_.x;
    p.top = normalRect_.y;
    p.right = normalRect_.x + normalRect_.width;
    p.bottom = normalRect_.y + normalRect_.height;
    return p;
}

void CMainFrame::SaveSettings() {
    SettingsStore* settings = Shell().settings;
    if (!settings) return;
    settings->WriteInt(kGeneralSection, kColorKey, colour_ ? 1 : 0);
    settings->WriteInt(kGeneralSection, kToolTipsKey, toolTips_ ? 1 : 0);
    settings->WriteString(kSettingsSection, kWindowPosKey, CurrentPlacement().Format());
    if (wxFileHistory* history = GetDocumentManager()->GetFileHistory()) settings->SaveHistory(*history);
    if (!settings->Flush()) {
        std::fprintf(stderr, "quillset: cannot write the settings file %s\n", settings->Path().c_str());
    }
}

void CMainFrame::OnCloseWindow(wxCloseEvent& event) {
    SaveSettings();
    // The document manager closes the documents (asking about unsaved ones) and the frame.
    event.Skip();
}

// ---------------------------------------------------------------- documents

wxDocument* CMainFrame::ActiveDocument() const {
    auto* child = dynamic_cast<wxDocChildFrameAnyBase*>(GetActiveChild());
    return child ? child->GetDocument() : nullptr;
}

CVexa3WxDoc* CMainFrame::ActiveDeviceDocument() const { return dynamic_cast<CVexa3WxDoc*>(ActiveDocument()); }

std::vector<CVexa3WxDoc*> CMainFrame::DeviceDocuments() const {
    std::vector<CVexa3WxDoc*> docs;
    for (wxObject* object : GetDocumentManager()->GetDocuments()) {
        auto* doc = dynamic_cast<CVexa3WxDoc*>(object);
        if (doc && (!templates_.programData || doc->GetDocumentTemplate() == templates_.programData)) docs.push_back(doc);
    }
    return docs;
}

std::string CMainFrame::DeviceDocumentLine(const CVexa3WxDoc& doc) {
    const CVexa3Doc& core = doc.Core();
    const std::string title = doc.GetUserReadableName().utf8_string();
    if (core.PortIndex() != CVexa3Doc::kPortTcp) {
        return title + " (Com" + std::to_string(core.PortIndex()) + ",  Addr " + std::to_string(core.BaseAddress()) +
               ")";
    }
    return title + " (" + core.Host() + ")";
}

CVexa3Doc* CMainFrame::ChooseDeviceDocument() {
    const std::vector<CVexa3WxDoc*> docs = DeviceDocuments();
    if (docs.empty()) return nullptr;
    if (docs.size() == 1) return &docs.front()->Core();
    std::vector<std::string> lines;
    for (const CVexa3WxDoc* doc : docs) lines.push_back(DeviceDocumentLine(*doc));
    CStringArrayDialog dlg(this, lines);
    if (dlg.ShowModal() != wxID_OK) return nullptr;
    if (dlg.selectedIndex < 0 || dlg.selectedIndex >= static_cast<int>(docs.size())) return nullptr;
    // The list was shown modally: a document may have closed meanwhile.
    CVexa3WxDoc* chosen = docs[static_cast<size_t>(dlg.selectedIndex)];
    const std::vector<CVexa3WxDoc*> now = DeviceDocuments();
    if (std::find(now.begin(), now.end(), chosen) == now.end()) return nullptr;
    return &chosen->Core();
}

DX3Protocol* CMainFrame::GetConnectedProtocol(CVexa3Doc* doc, bool requireOnline) {
    if (!doc) doc = ChooseDeviceDocument();
    if (!doc) return nullptr;
    {
        wxBusyCursor wait;
        doc->Connect(false);
    }
    DX3Protocol* protocol = doc->GetProtocol();
    if (!protocol) {
        // No port chosen, a COM port that did not open, or a TCP/IP link that could not be
        // made: there is no protocol whose error could be shown.
        const CVexa3WxDoc* wx = CVexa3WxDoc::FromCore(doc);
        const std::string title = wx ? wx->GetUserReadableName().utf8_string() : doc->Title();
        services_->ui.Message(title + " - " + ComStream::StatusText(kStatusCannotOpen), MB_OKCANCEL);
        return nullptr;
    }
    protocol->SetAddress(doc->BaseAddress());
    if (doc->State() < CVexa3Doc::kStateReadOnly || (requireOnline && doc->State() < CVexa3Doc::kStateOnline)) {
        protocol->ReportError(nullptr, MB_OKCANCEL);
        return nullptr;
    }
    return protocol;
}

void CMainFrame::OnFileNew() {
    CPowerDocTemplate* t = templates_.programData;
    if (!t) return;
    // The wizard runs first, on a scratch document of its own; its answers are applied to the
    // new document after it opens.
    std::function<void(CVexa3Doc&)> apply;
    if (Shell().newDeviceWizard) apply = Shell().newDeviceWizard();
    auto* doc = dynamic_cast<CVexa3WxDoc*>(NewDocument(t));
    if (!doc) return;
    CVexa3Doc& core = doc->Core();
    if (!apply) {
        core.SetPortIndex(1);
    } else {
        wxBusyCursor wait;
        apply(core);
    }
    doc->Modify(true);
    doc->UpdateAllViews();
    int kind = kProtocolMini;
    if (ComPortTable::IsValidPort(core.PortIndex())) {
        if (const ComProtocol* p = services_->ports.Protocol(core.PortIndex()); p && p->ProtocolIndex() != -1)
            kind = p->ProtocolIndex();
    }
    core.SetProtocolKind(kind);
    if (services_->options.AutoConnect) {
        wxBusyCursor wait;
        core.Connect(false);
    }
}

wxDocument* CMainFrame::NewDocument(CPowerDocTemplate* docTemplate) {
    if (!docTemplate || !docTemplate->IsAvailable()) return nullptr;
    wxDocument* doc = docTemplate->CreateDocument(wxString(), wxDOC_NEW);
    if (!doc) return nullptr;
    doc->SetDocumentName(docTemplate->GetDocumentName());
    if (!doc->OnNewDocument()) {
        doc->DeleteAllViews();
        return nullptr;
    }
    return doc;
}

void CMainFrame::NewSideDocument(CPowerDocTemplate* docTemplate) { NewDocument(docTemplate); }

// ---------------------------------------------------------------- transfer-error log

void CMainFrame::AddTransferError(const void* owner, const std::string& line) {
    CVexa3WxDoc* doc = CVexa3WxDoc::FromCore(owner);
    if (errorLog_) {
        // A second document's errors empty the log, which from then on shows that document's.
        if (errorLog_->Owner() != owner) errorLog_->Reattach(doc, owner);
        if (auto* frame = dynamic_cast<wxMDIChildFrame*>(errorLog_->GetFrame())) frame->Activate();
    } else {
        errorLog_ = CErrorLogView::Open(this, templates_.errorLog, doc, owner);
        if (!errorLog_) return;
    }
    errorLog_->AddLine(line);
}

void CMainFrame::ClearOwner(const void* owner) {
    if (errorLog_ && errorLog_->Owner() == owner) errorLog_->Clear();
}

void CMainFrame::ClearTransferErrors() {
    if (errorLog_) errorLog_->Clear();
}

void CMainFrame::CloseTransferLog(const void* owner) {
    if (!errorLog_ || errorLog_->Owner() != owner) return;
    // Deleting the view closes its window.
    std::unique_ptr<CErrorLogView> view(errorLog_);
    errorLog_ = nullptr;
    view->Detach();
}

void CMainFrame::ForgetErrorLog(CErrorLogView* view) {
    if (errorLog_ == view) errorLog_ = nullptr;
}

// ---------------------------------------------------------------- panes

void CMainFrame::UpdateConnectionPane() {
    if (!statusBar_) return;
    wxDocument* doc = ActiveDocument();
    auto* device = dynamic_cast<CVexa3WxDoc*>(doc);
    if (!device) {
        statusBar_->SetStatePane(CMainStatusBar::kIdleText, wxNullColour);
        if (statusBar_->GetStatusText(CMainStatusBar::kLinkPane) != CMainStatusBar::kIdleText)
            statusBar_->SetStatusText(CMainStatusBar::kIdleText, CMainStatusBar::kLinkPane);
        return;
    }
    CVexa3Doc& core = device->Core();
    statusBar_->SetStatePane(CVexa3Doc::StateLabel(core.State()), StateColour(core.State()));
    wxString link = CMainStatusBar::kIdleText;
    if (core.PortIndex() != CVexa3Doc::kPortNone) {
        if (const DX3Protocol* p = core.GetProtocol()) link = ToWx(p->Port()->Describe(p->Address()));
    }
    if (statusBar_->GetStatusText(CMainStatusBar::kLinkPane) != link)
        statusBar_->SetStatusText(link, CMainStatusBar::kLinkPane);
}

// ---------------------------------------------------------------- other processes

void CMainFrame::OnTick(wxTimerEvent&) {
    if (statusBar_) statusBar_->UpdateKeyIndicators();
    UpdateConnectionPane();
    if (!control_) return;
    // Clients are read on every tick, also during a transfer, so none waits in the backlog;
    // what they asked for is done once no device command runs.
    control_->Pump();
    if (!control_->HasQueued() || takeScheduled_) return;
    takeScheduled_ = true;
    wxWeakRef<CMainFrame> self(this);
    ModalPump::RunWhenFree([self] {
        if (!self) return;
        self->takeScheduled_ = false;
        if (!self->control_) return;
        for (ControlMessage m : self->control_->Take()) {
            if (!self) return;
            self->HandleControlMessage(m);
        }
    });
}

void CMainFrame::HandleControlMessage(ControlMessage message) {
    if (message == ControlMessage::kRestore) RestoreAndRaise();
    else OnRemoteProgramDone();
}

void CMainFrame::RestoreAndRaise() {
    if (IsIconized()) Iconize(false);
    if (!IsShown()) Show();
    Raise();
}

void CMainFrame::OnRemoteProgramDone() {
    RestoreAndRaise();
    // The frame of the active document reconnects it through its device commands, which also
    // wait for a running command to end.
    if (auto* child = dynamic_cast<CSplitterFrame*>(GetActiveChild())) {
        child->Commands().ReconnectAfterEmulator();
    } else if (CVexa3WxDoc* doc = ActiveDeviceDocument()) {
        wxBusyCursor wait;
        doc->Core().Connect(false);
    }
    UpdateConnectionPane();
}

}  // namespace qs
