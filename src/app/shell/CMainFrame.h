#pragma once
#include <memory>
#include <string>
#include <vector>

#include <wx/aui/framemanager.h>
#include <wx/docmdi.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include "app/shell/DocTemplates.h"
#include "app/sidedocs/SideDocumentHost.h"
#include "platform/ControlSocket.h"
#include "platform/ProcessLauncher.h"
#include "platform/StatusPane.h"
#include "platform/TransferErrorLog.h"
#include "appmodel/shell/MainCommandTable.h"
#include "appmodel/shell/WindowPlacement.h"

class wxMenu;

namespace qs {

class CConnectBar;
class CEditBar;
class CErrorLogView;
class CIconToolBar;
class CMainStatusBar;
class CVexa3Doc;
class CVexa3WxDoc;
class ComPortTable;
class DX3Protocol;
class MainMenus;
struct AppOptions;
struct AppServices;

// Quillset's main window: the menus, the three toolbars (Standard, Edit, Connect), the status
// panes with the connection state of the active program-data document, the document windows
// (tabs), and the transfer-error log. Side documents find the program-data document they talk
// through here (ChooseDeviceDocument, GetConnectedProtocol). It also acts on what other
// processes say over the control socket: a second start asks it to come to the front, an
// emulator that has ended gives the device link back.
class CMainFrame : public wxDocMDIParentFrame, public TransferErrorLog, public SideDocumentHost {
public:
    static constexpr const char* kTitle = "Quillset.NET";
    static constexpr int kTickMs = 100;
    static constexpr const char* kGeneralSection = "General";
    static constexpr const char* kSettingsSection = "Settings";
    static constexpr const char* kColorKey = "Color";
    static constexpr const char* kToolTipsKey = "ToolTips";
    static constexpr const char* kWindowPosKey = "WindowPos";
    static constexpr int kDefaultWidth = 1000;
    static constexpr int kDefaultHeight = 720;

    // Takes the window placement, colour and tool-tip choices from the settings store of the
    // shell (if any), builds the menus, bars and panes, and becomes the window the core's
    // status texts and transfer errors go to. The services it lends the documents come from
    // the shell and the program's user-interface services.
    explicit CMainFrame(wxDocManager* manager, const wxString& title = kTitle);
    ~CMainFrame() override;

    bool Show(bool show = true) override;

    // The main frame now alive, if any.
    static CMainFrame* Instance();

    // The templates, which make their documents with the frame's services.
    void SetTemplates(const DocTemplates& templates);
    const AppServices& Services() const { return *services_; }
    const DocTemplates& Templates() const { return templates_; }
    // The control socket the frame reads on every tick; null: none.
    void SetControlSocket(ControlSocket* socket) { control_ = socket; }

    // ---- program-data documents
    // The open program-data documents, in the order they were opened.
    std::vector<CVexa3WxDoc*> DeviceDocuments() const;
    // "%s (Com%d,  Addr %d)" for a document on a COM port, "%s (%s)" with the IPv4 address for
    // one on TCP/IP.
    static std::string DeviceDocumentLine(const CVexa3WxDoc& doc);
    bool HasDeviceDocument() const override { return !DeviceDocuments().empty(); }
    // The only open program-data document, or the one the user picks from the list of all;
    // null when there is none or the user cancels.
    CVexa3Doc* ChooseDeviceDocument() override;
    // Connects the document (with the write test; chosen as above when null) and returns its
    // protocol at the document's base address. Null, after saying why, when the document has
    // no link, its link could not be opened, the device did not answer, or `requireOnline` and
    // the device refused the write test.
    DX3Protocol* GetConnectedProtocol(CVexa3Doc* doc, bool requireOnline) override;

    // ---- transfer-error log
    void AddTransferError(const void* owner, const std::string& line) override;
    // Empties the log when it shows `owner`'s lines.
    void ClearOwner(const void* owner) override;
    // Empties the log whoever's lines it shows.
    void ClearTransferErrors();
    // The document is closing: its log goes with it.
    void CloseTransferLog(const void* owner);
    CErrorLogView* ErrorLog() const { return errorLog_; }
    void ForgetErrorLog(CErrorLogView* view);

    // ---- bars and panes
    CMainStatusBar* StatusPanes() const { return statusBar_; }
    CIconToolBar* StandardBar() const { return standardBar_; }
    CEditBar* EditBar() const { return editBar_; }
    CConnectBar* ConnectBar() const { return connectBar_; }
    wxAuiManager& Aui() { return aui_; }
    bool IsBarShown(wxWindow* bar);
    void ShowBar(wxWindow* bar, bool show);
    bool ColourButtons() const { return colour_; }
    bool ToolTips() const { return toolTips_; }
    // What the toolbar dialog's OK applies: tool-tips from the next start, the colour of the
    // Standard and Edit bars at once (the Connect bar's at the next start), and which of the
    // Standard and Edit bars are shown.
    void ApplyToolbarChoices(bool showMain, bool showEdit, bool toolTips, bool colour);
    // Shows the connection state and the link of the active program-data document, or the texts
    // the active side document gave (blanks when it gave none).
    void UpdateConnectionPane();
    // "Quillset.NET - <document>" while a document's window is active, else "Quillset.NET".
    // Set only when that changes, so a title given for another reason stays until then.
    void UpdateTitle();
    void ShowDocumentPanes(wxDocument& owner, const std::string& state, const std::string& link) override;

    // ---- placement and settings
    // The placement as "WindowPos" keeps it.
    WindowPlacement CurrentPlacement() const;
    // Writes "Color", "ToolTips" and "WindowPos" to the settings store and flushes it.
    void SaveSettings();

    // ---- other processes
    // Acts on one message of the control socket (waits until no device command runs).
    void HandleControlMessage(ControlMessage message);
    // Brings the main window back from minimised and to the front.
    void RestoreAndRaise();
    // An emulator has ended and given the link back: the window comes back and the active
    // program-data document reconnects.
    void OnRemoteProgramDone();

    // ---- commands
    // The commands of the menus and toolbars; the menus are built from it when the frame is.
    MainCommandTable& Commands() { return commands_; }
    void OnFileNew();
    // A new document of a template, named as its kind names new ones; null when the kind does
    // not exist yet or the document could not be made.
    wxDocument* NewDocument(CPowerDocTemplate* docTemplate);
    // A new side document of that template, when its kind exists yet.
    void NewSideDocument(CPowerDocTemplate* docTemplate);
    void OnToolbars();

private:
    class MessagePane final : public StatusPane {
    public:
        explicit MessagePane(CMainFrame& frame) : frame_(frame) {}
        void SetStatusText(const std::string& text) override;

    private:
        CMainFrame& frame_;
    };

    void MakeServices();
    void RegisterCommands();
    void BuildMenus();
    void BuildBars();
    wxMenu* BarMenu();
    void RestorePlacement();
    void TrackNormalRect();
    void OnTick(wxTimerEvent& event);
    void OnCloseWindow(wxCloseEvent& event);
    CVexa3WxDoc* ActiveDeviceDocument() const;
    wxDocument* ActiveDocument() const;

    // The programs the documents' windows start (the emulators), and stand-ins for what a
    // shell without them lacks; then the services made of them.
    ProcessLauncher launcher_;
    std::unique_ptr<AppOptions> spareOptions_;
    std::unique_ptr<ComPortTable> sparePorts_;
    std::unique_ptr<AppServices> services_;
    DocTemplates templates_;
    MainCommandTable commands_;
    std::unique_ptr<MainMenus> menus_;
    CErrorLogView* errorLog_ = nullptr;
    bool colour_ = true;
    bool toolTips_ = true;
    CMainStatusBar* statusBar_ = nullptr;
    CIconToolBar* standardBar_ = nullptr;
    CEditBar* editBar_ = nullptr;
    CConnectBar* connectBar_ = nullptr;
    wxAuiManager aui_;
    wxTimer tick_;
    ControlSocket* control_ = nullptr;
    // The side document whose texts the state and link panes show while it is active.
    wxWeakRef<wxDocument> paneOwner_;
    std::string paneState_;
    std::string paneLink_;
    bool takeScheduled_ = false;
    wxRect normalRect_;   // the frame when neither maximised nor minimised
    bool placed_ = false;    // shown once
    bool tracking_ = false;  // its moves and sizes are kept
    MessagePane messagePane_{*this};
    wxString baseTitle_;
    wxString shownTitle_;
};

}  // namespace qs
