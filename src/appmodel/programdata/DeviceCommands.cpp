#include "appmodel/programdata/DeviceCommands.h"

#include <algorithm>

#include "appmodel/launch/DisplayLauncher.h"
#include "appmodel/programdata/LinkCommands.h"
#include "appmodel/programdata/SelectionTransfer.h"
#include "appmodel/programdata/WholeDeviceTransfer.h"
#include "link/DX3Protocol.h"
#include "platform/UiServices.h"
#include "programdata/CSubdirectory.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

namespace {

// Device commands in progress in the whole program (one UI thread: a plain count), and the
// frames whose reconnection after an emulator waits for them to end.
int g_running = 0;
std::vector<DeviceCommands*> g_reconnectPending;

}  // namespace

DeviceCommands::CommandScope::CommandScope() : entered_(g_running == 0) {
    if (entered_) ++g_running;
}

DeviceCommands::CommandScope::~CommandScope() {
    if (!entered_ || --g_running > 0) return;
    std::vector<DeviceCommands*> pending;
    pending.swap(g_reconnectPending);
    for (DeviceCommands* frame : pending) frame->ReconnectAfterEmulator();
}

DeviceCommands::WaitCursor::WaitCursor(const DeviceCommands& commands) : hooks_(commands.hooks_) {
    busy_ = true;
    if (hooks_.waitCursor) hooks_.waitCursor(true);
}

void DeviceCommands::WaitCursor::End() {
    if (!busy_) return;
    busy_ = false;
    if (hooks_.waitCursor) hooks_.waitCursor(false);
}

std::string DeviceCommands::ArmAddressZeroText(int armNumber) {
    return "Cannot perform requested operation - arm address is 0.\nSet arm " + std::to_string(armNumber) +
           " address to a valid entry (1-99) via 'Options|Options for this Duravane III'";
}

std::string DeviceCommands::CannotProgramText(const std::string& why) { return "Cannot program Duravane.NET - " + why; }

DeviceCommands::DeviceCommands(CVexa3Doc& document, const AppServices& services, DeviceCommandHooks hooks)
    : doc_(document), services_(services), hooks_(std::move(hooks)) {
    // The tools every frame has.
    whole_ = &AddTool<WholeDeviceTransfer>();
    selectionTransfer_ = &AddTool<SelectionTransfer>();
    link_ = &AddTool<LinkCommands>();
    displays_ = &AddTool<DisplayLauncher>();
}

DeviceCommands::~DeviceCommands() { std::erase(g_reconnectPending, this); }

bool DeviceCommands::CommandRunning() { return g_running > 0; }

void DeviceCommands::SetSelection(const FrameSelection& selection) {
    selection_ = selection;
    if (selection_.directory == nullptr && selection_.subdirectory != nullptr)
        selection_.directory = selection_.subdirectory->Owner();
}

bool DeviceCommands::IsEnabled(int id) const {
    return !CommandRunning() && table_.IsEnabled(id, doc_.State(), doc_.PortIndex());
}

bool DeviceCommands::Execute(int id) { return !CommandRunning() && table_.Run(id, doc_.State(), doc_.PortIndex()); }

// ---- what the commands share

bool DeviceCommands::Connect(bool readOnlyProbe, const char* notResponding, WaitCursor* wait) {
    if (doc_.Connect(readOnlyProbe) > CVexa3Doc::kStateOffline) return true;
    if (wait) wait->End();
    Ui().Message(notResponding);
    return false;
}

int DeviceCommands::SelectedArm() const {
    return selection_.arm >= 0 && selection_.arm < CVexa3Doc::kMaxArms ? selection_.arm : 0;
}

bool DeviceCommands::CheckArmAddress() const {
    if (doc_.ArmAddress(SelectedArm()) != 0) return true;
    Ui().Message(ArmAddressZeroText(SelectedArm() + 1));
    return false;
}

bool DeviceCommands::ConfirmWrite() const {
    return !doc_.Options().ConfirmWrites || Ui().Message(kConfirmWrite, MB_OKCANCEL) == IDOK;
}

std::string DeviceCommands::RefusalText() const {
    const CVexa3Doc::WriteTest& test = doc_.LastWriteTest();
    if (test.status == kStatusRejected) return DX3Protocol::ErrorText(test.code);
    // No test could be sent: the probe's reply was too short to be written back.
    if (test.status <= kStatusOk) return ComStream::StatusText(kStatusProtocolError);
    return ComStream::StatusText(test.status);
}

void DeviceCommands::SayWriteRefused() const { Ui().Message(CannotProgramText(RefusalText())); }

void DeviceCommands::AddressBaseDevice() const {
    if (DX3Protocol* protocol = doc_.GetProtocol()) protocol->SetAddress(doc_.BaseAddress());
}

// ---- the commands of the tools every frame has

bool DeviceCommands::ReadAll() { return whole_->ReadAll(); }
bool DeviceCommands::DumpAll() { return whole_->DumpAll(); }
bool DeviceCommands::ReadSelection() { return selectionTransfer_->ReadSelection(); }
bool DeviceCommands::DumpSelection() { return selectionTransfer_->DumpSelection(); }
bool DeviceCommands::GoOnline() { return link_->GoOnline(); }
bool DeviceCommands::GoOffline() { return link_->GoOffline(); }
bool DeviceCommands::RemoteDisplay() { return displays_->RemoteDisplay(); }
bool DeviceCommands::InteractiveDisplay() { return displays_->InteractiveDisplay(); }
DocumentLinkFields DeviceCommands::OptionsFields() const { return doc_.GetLinkFields(); }

void DeviceCommands::ApplyOptions(const DocumentLinkFields& fields, bool serialSettingsEdited) {
    link_->ApplyOptions(fields, serialSettingsEdited);
}

CVexa3Doc::ConnectionState DeviceCommands::ReconnectAfterEmulator() {
    CommandScope scope;
    if (!scope.Entered()) {
        // Done as soon as the command that is running ends.
        if (std::find(g_reconnectPending.begin(), g_reconnectPending.end(), this) == g_reconnectPending.end())
            g_reconnectPending.push_back(this);
        return doc_.State();
    }
    WaitCursor wait(*this);
    return displays_->Reconnect();
}

void DeviceCommands::OnFocus() {
    if (CommandRunning()) return;
    AddressBaseDevice();
}

}  // namespace qs
