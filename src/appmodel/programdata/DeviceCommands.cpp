#include "appmodel/programdata/DeviceCommands.h"

#include <algorithm>

#include "link/ComPortTable.h"
#include "link/DX3Protocol.h"
#include "platform/ProcessLauncher.h"
#include "platform/UiServices.h"
#include "programdata/CDirectory.h"
#include "programdata/CSubdirectory.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

namespace {

// Device commands in progress in the whole program (one UI thread: a plain count), and the
// frames whose reconnection after an emulator waits for them to end.
int g_running = 0;
std::vector<DeviceCommands*> g_reconnectPending;

}  // namespace

// Marks a command as running for its whole life, so that a second one is refused while the
// first pumps its progress window.
class DeviceCommands::CommandScope {
public:
    CommandScope() : entered_(g_running == 0) {
        if (entered_) ++g_running;
    }
    ~CommandScope() {
        if (!entered_ || --g_running > 0) return;
        std::vector<DeviceCommands*> pending;
        pending.swap(g_reconnectPending);
        for (DeviceCommands* frame : pending) frame->ReconnectAfterEmulator();
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;
    bool Entered() const { return entered_; }

private:
    bool entered_;
};

class DeviceCommands::WaitCursor {
public:
    explicit WaitCursor(const DeviceCommandHooks& hooks) : hooks_(hooks) { Set(true); }
    ~WaitCursor() { End(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void End() { Set(false); }

private:
    void Set(bool busy) {
        if (busy == busy_) return;
        busy_ = busy;
        if (hooks_.waitCursor) hooks_.waitCursor(busy);
    }
    const DeviceCommandHooks& hooks_;
    bool busy_ = false;
};

std::string DeviceCommands::ArmAddressZeroText(int armNumber) {
    return "Cannot perform requested operation - arm address is 0.\nSet arm " + std::to_string(armNumber) +
           " address to a valid entry (1-99) via 'Options|Options for this Duravane III'";
}

std::string DeviceCommands::CannotProgramText(const std::string& why) { return "Cannot program Duravane.NET - " + why; }

DeviceCommands::DeviceCommands(CVexa3Doc& document, ComPortTable& ports, ProcessLauncher& launcher,
                               DeviceCommandHooks hooks)
    : DeviceCommands(document, ports, launcher, std::move(hooks), ProcessLauncher::ExecutableDir()) {}

DeviceCommands::DeviceCommands(CVexa3Doc& document, ComPortTable& ports, ProcessLauncher& launcher,
                               DeviceCommandHooks hooks, std::string programDir)
    : doc_(document),
      ports_(ports),
      hooks_(std::move(hooks)),
      displays_(document, ports, launcher, hooks_, std::move(programDir)) {}

DeviceCommands::~DeviceCommands() {
    std::erase(g_reconnectPending, this);
}

bool DeviceCommands::CommandRunning() { return g_running > 0; }

void DeviceCommands::SetSelection(const FrameSelection& selection) {
    selection_ = selection;
    if (selection_.directory == nullptr && selection_.subdirectory != nullptr)
        selection_.directory = selection_.subdirectory->Owner();
}

int DeviceCommands::SelectedArm() const {
    return selection_.arm >= 0 && selection_.arm < CVexa3Doc::kMaxArms ? selection_.arm : 0;
}

bool DeviceCommands::IsEnabled(int id) const {
    return !CommandRunning() && DeviceCommandTable::IsEnabled(id, doc_.State(), doc_.PortIndex());
}

bool DeviceCommands::Execute(int id) {
    if (!IsEnabled(id)) return false;
    switch (id) {
    case kCmdReadAll: return ReadAll();
    case kCmdDumpAll: return DumpAll();
    case kCmdReadSelection: return ReadSelection();
    case kCmdDumpSelection: return DumpSelection();
    case kCmdGoOnline: return GoOnline();
    case kCmdGoOffline: return GoOffline();
    case kCmdRemoteDisplay: return RemoteDisplay();
    case kCmdInteractiveDisplay: return InteractiveDisplay();
    default: return false;
    }
}

bool DeviceCommands::ConfirmWrite() const {
    return !doc_.Options().ConfirmWrites || ShowMessage(kConfirmWrite, MB_OKCANCEL) == IDOK;
}

std::string DeviceCommands::RefusalText() const {
    const CVexa3Doc::WriteTest& test = doc_.LastWriteTest();
    if (test.status == kStatusRejected) return DX3Protocol::ErrorText(test.code);
    // No test could be sent: the probe's reply was too short to be written back.
    if (test.status <= kStatusOk) return ComStream::StatusText(kStatusProtocolError);
    return ComStream::StatusText(test.status);
}

void DeviceCommands::Complete(ProgressSink& progress) { progress.WaitForClose(); }

// ---- whole device

bool DeviceCommands::ReadAll() {
    CommandScope scope;
    if (!scope.Entered()) return false;
    auto progress = MakeProgress(kReadAllTitle, true);
    progress->SetText("Reading data to " + doc_.Title());
    progress->SetRange(0, doc_.TotalCodes(), 1);
    if (doc_.Connect(true) <= CVexa3Doc::kStateOffline) {
        ShowMessage(kNotResponding);
        return false;
    }
    const bool done = doc_.ReadAllFromDevice(progress.get());
    doc_.UpdateAllViews();
    doc_.SetModified();
    if (done) Complete(*progress);
    return done;
}

bool DeviceCommands::DumpAll() {
    CommandScope scope;
    if (!scope.Entered()) return false;
    const int state = doc_.Connect(false);
    if (state <= CVexa3Doc::kStateOffline) {
        ShowMessage(kNotResponding);
        return false;
    }
    if (state < CVexa3Doc::kStateOnline) {
        ShowMessage(CannotProgramText(RefusalText()));
        return false;
    }
    if (!ConfirmWrite()) return false;
    auto progress = MakeProgress("Writing data in " + doc_.Title() + " to Duravane.NET", true);
    progress->SetRange(0, doc_.TotalCodes(), 1);
    const bool done = doc_.WriteAllToDevice(progress.get());
    doc_.UpdateAllViews();
    if (!done) {
        doc_.SetModified();
        return false;
    }
    doc_.SendLoCommand();
    Complete(*progress);
    return true;
}

// ---- the selection

bool DeviceCommands::CheckArmAddress() const {
    if (doc_.ArmAddress(SelectedArm()) != 0) return true;
    ShowMessage(ArmAddressZeroText(SelectedArm() + 1));
    return false;
}

std::vector<std::vector<CDirectory*>> DeviceCommands::ArmCompanions(const CDirectory& arm) const {
    std::vector<std::vector<CDirectory*>> groups;
    const CDirectory* from = &arm;
    for (int type : {CDirectory::kMeter, CDirectory::kProduct}) {
        std::vector<CDirectory*> group;
        CDirectory* d = from->NextDirectory();
        while (d != nullptr && d->Type() != type) d = d->NextDirectory();
        for (; d != nullptr && d->Type() == type; d = d->NextDirectory()) group.push_back(d);
        if (!group.empty()) from = group.back();
        groups.push_back(std::move(group));
    }
    return groups;
}

std::string DeviceCommands::SelectionStatusText() const {
    const CDirectory& d = *selection_.directory;
    const std::string& sub = selection_.subdirectory->Name();
    if (d.Type() == CDirectory::kRecipe) return "Reading " + sub + " directory";
    if (d.PerArm() && d.Type() != CDirectory::kArm)
        return "Reading Arm " + std::to_string(SelectedArm() + 1) + " " + d.GetInstanceName() + " " + sub + " directory";
    return "Reading " + d.GetInstanceName() + " " + sub + " directory";
}

bool DeviceCommands::WalkSelectedDirectory(ProgressSink& progress, bool (CDirectory::*walk)(ProgressSink*)) {
    CDirectory& d = *selection_.directory;
    progress.SetRange(0, d.TotalParams(), 1);
    if (!(d.*walk)(&progress)) return false;
    if (d.Type() != CDirectory::kArm) return true;
    // An arm's selection takes its meters and products along.
    for (const std::vector<CDirectory*>& group : ArmCompanions(d)) {
        if (group.empty()) continue;
        progress.SetRange(0, static_cast<int>(group.size()) * group.front()->TotalParams(), 1);
        progress.SetPos(0);
        for (CDirectory* companion : group)
            if (!(companion->*walk)(&progress)) return false;
    }
    return true;
}

bool DeviceCommands::ReadSelected(ProgressSink& progress) {
    if (selection_.subdirectory != nullptr) {
        WaitCursor wait(hooks_);
        progress.SetRange(0, selection_.subdirectory->ParamCount(), 1);
        progress.SetText(SelectionStatusText());
        return selection_.subdirectory->ReadFromDevice(&progress);
    }
    return WalkSelectedDirectory(progress, &CDirectory::ReadFromDevice);
}

bool DeviceCommands::WriteSelected(ProgressSink& progress) {
    if (selection_.subdirectory != nullptr) {
        progress.SetRange(0, selection_.subdirectory->ParamCount(), 1);
        return selection_.subdirectory->WriteToDevice(&progress);
    }
    return WalkSelectedDirectory(progress, &CDirectory::WriteToDevice);
}

bool DeviceCommands::ReadSelection() {
    if (selection_.Empty()) return false;
    CommandScope scope;
    if (!scope.Entered()) return false;
    if (!CheckArmAddress()) return false;
    auto progress = MakeProgress(kReadSelectionTitle, false);
    progress->SetText(kReadSelectionStart);
    if (doc_.Connect(true) <= CVexa3Doc::kStateOffline) {
        ShowMessage(kSelectionNotResponding);
        return false;
    }
    doc_.SetCurrentArm(SelectedArm());
    const bool done = ReadSelected(*progress);
    // The next single command goes to the device the document connects to.
    if (DX3Protocol* protocol = doc_.GetProtocol()) protocol->SetAddress(doc_.BaseAddress());
    doc_.UpdateAllViews();
    // What was read is in the document now, as after Read All.
    doc_.SetModified();
    if (done) Complete(*progress);
    return done;
}

bool DeviceCommands::DumpSelection() {
    if (selection_.Empty()) return false;
    CommandScope scope;
    if (!scope.Entered()) return false;
    if (!CheckArmAddress()) return false;
    // Asked before anything is sent, the connection's write test included.
    if (!ConfirmWrite()) return false;
    auto progress = MakeProgress(kDumpSelectionTitle, false);
    progress->SetText(kDumpSelectionStart);
    WaitCursor wait(hooks_);
    doc_.SetCurrentArm(SelectedArm());
    const int state = doc_.Connect(false);
    if (state <= CVexa3Doc::kStateOffline) {
        ShowMessage(kNotResponding);
        return false;
    }
    const bool allowed = state >= CVexa3Doc::kStateOnline ||
                         (state == CVexa3Doc::kStateOnlineArm && selection_.directory->PerArm());
    if (!allowed) {
        ShowMessage(CannotProgramText(RefusalText()));
        return false;
    }
    const bool done = WriteSelected(*progress);
    if (DX3Protocol* protocol = doc_.GetProtocol()) protocol->SetAddress(doc_.BaseAddress());
    doc_.UpdateAllViews();
    if (!done) return false;
    doc_.SendLoCommand();
    wait.End();
    Complete(*progress);
    return true;
}

// ---- the link

bool DeviceCommands::GoOnline() {
    CommandScope scope;
    if (!scope.Entered()) return false;
    WaitCursor wait(hooks_);
    if (doc_.Connect(false) < CVexa3Doc::kStateReadOnly) {
        wait.End();
        ShowMessage(kNotResponding);
        return false;
    }
    return true;
}

bool DeviceCommands::GoOffline() {
    // The link stays open: only the state says not to use it.
    doc_.SetState(CVexa3Doc::kStateOffline);
    return true;
}

bool DeviceCommands::RemoteDisplay() {
    CommandScope scope;
    if (!scope.Entered()) return false;
    WaitCursor wait(hooks_);
    return displays_.RemoteDisplay();
}

bool DeviceCommands::InteractiveDisplay() {
    CommandScope scope;
    if (!scope.Entered()) return false;
    WaitCursor wait(hooks_);
    return displays_.InteractiveDisplay();
}

int DeviceCommands::ReconnectAfterEmulator() {
    CommandScope scope;
    if (!scope.Entered()) {
        // Done as soon as the command that is running ends.
        if (std::find(g_reconnectPending.begin(), g_reconnectPending.end(), this) == g_reconnectPending.end())
            g_reconnectPending.push_back(this);
        return doc_.State();
    }
    WaitCursor wait(hooks_);
    return displays_.Reconnect();
}

void DeviceCommands::OnFocus() {
    if (CommandRunning()) return;
    if (DX3Protocol* protocol = doc_.GetProtocol()) protocol->SetAddress(doc_.BaseAddress());
}

// ---- document options

DocumentLinkFields DeviceCommands::OptionsFields() const { return doc_.GetLinkFields(); }

void DeviceCommands::ApplyOptions(const DocumentLinkFields& fields, bool serialSettingsEdited) {
    CommandScope scope;
    if (!scope.Entered()) return;
    WaitCursor wait(hooks_);
    const DocumentLinkFields before = doc_.GetLinkFields();
    // The document keeps what it had for a field left unset.
    const int port = fields.port == CVexa3Doc::kPortNone ? before.port : fields.port;
    const int protocol = fields.protocol < 0 ? before.protocol : fields.protocol;
    const int base = fields.baseAddress < 0 ? before.baseAddress : fields.baseAddress;
    const bool changed =
        port != before.port || base != before.baseAddress || protocol != before.protocol || serialSettingsEdited;

    // A changed port, protocol or IP address lets the link go (the COM slot's reference only
    // when the document holds one); an unchanged link keeps its reference.
    doc_.SetLinkFields(fields);
    const bool autoConnect = doc_.Options().AutoConnect;
    bool reconnected = false;
    if (doc_.PortIndex() == CVexa3Doc::kPortTcp) {
        if (autoConnect) {
            doc_.Connect(false);
            reconnected = true;
        }
    } else if (ComPortTable::IsValidPort(doc_.PortIndex()) && changed) {
        if (autoConnect) {
            doc_.Connect(false);
            reconnected = true;
        } else if (doc_.HoldsPortReference() && ports_.Protocol(doc_.PortIndex()) != nullptr) {
            // New serial settings for the port in use: the slot is reopened under its count.
            ports_.OpenComPort(doc_.PortIndex(), doc_.ProtocolKind() != kProtocolTerminal);
        }
    }
    // A link that was changed and not connected again has nothing to be online with.
    if (changed && !reconnected && doc_.State() > CVexa3Doc::kStateOffline) doc_.SetState(CVexa3Doc::kStateOffline);
}

}  // namespace qs
