#include "appmodel/launch/DisplayLauncher.h"

#include <vector>

#include "link/ComPortTable.h"
#include "link/MiniProtocol.h"
#include "link/TransferCodes.h"
#include "platform/ProcessLauncher.h"
#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"
#include "appmodel/launch/EmulatorCommandLine.h"

namespace qs {

DisplayLauncher::DisplayLauncher(DeviceCommands& commands)
    : commands_(commands),
      doc_(commands.Document()),
      launcher_(commands.Services().launcher),
      programDir_(commands.Services().programDir) {
    DeviceCommandTable& table = commands.Table();
    table.Register({kCmdRemoteDisplay, MenuSection::DeviceTools, "Remote &Display", {}, EnableRule::Connected,
                    [this] { return RemoteDisplay(); }});
    table.Register({kCmdInteractiveDisplay, MenuSection::DeviceTools, "&Interactive Display", {},
                    EnableRule::ConnectedSerial, [this] { return InteractiveDisplay(); }});
}

std::string DisplayLauncher::StartFailureText(const std::string& program, const std::string& reason) {
    return "Unable to start " + program + " - " + reason;
}

bool DisplayLauncher::RemoteDisplay() {
    DeviceCommands::CommandScope scope;
    if (!scope.Entered()) return false;
    DeviceCommands::WaitCursor wait(commands_);
    return StartRemoteDisplay();
}

bool DisplayLauncher::InteractiveDisplay() {
    DeviceCommands::CommandScope scope;
    if (!scope.Entered()) return false;
    DeviceCommands::WaitCursor wait(commands_);
    return StartInteractiveDisplay();
}

bool DisplayLauncher::StartRemoteDisplay() {
    if (!commands_.Connect(true)) return false;
    const bool quad = EmulatorCommandLine::UsesQuadLayout(doc_.SendCommand("CF"));
    // A box shown while asking may have let another document empty the slot.
    DX3Protocol* protocol = doc_.GetProtocol();
    if (protocol == nullptr) {
        commands_.Ui().Message(kNotResponding);
        return false;
    }
    const char* program = EmulatorCommandLine::kRemoteDisplayProgram;
    if (doc_.PortIndex() == CVexa3Doc::kPortTcp) {
        // Over TCP/IP the display has a port of its own: Quillset keeps its link and stays up.
        const std::optional<std::string> path = Locate(program);
        if (!path || !Start(*path, program, EmulatorCommandLine::RemoteDisplayOverTcp(doc_.Ipv4(), quad)))
            return false;
        if (commands_.Hooks().setMainTitle) commands_.Hooks().setMainTitle(kMainTitle);
        return true;
    }
    if (protocol->ProtocolIndex() != kProtocolMini) {
        commands_.Ui().Message(kMiniRequired);
        return false;
    }
    // Found before the device is asked to give its port away: a program that is not there
    // must not leave the device talking to no one.
    const std::optional<std::string> path = Locate(program);
    if (!path || !SendHandover(kTransferRemoteDisplayHandover)) return false;
    const int comPort = doc_.PortIndex();
    ReleasePort();
    return Finish(Start(*path, program, EmulatorCommandLine::RemoteDisplayOverSerial(comPort, quad)));
}

bool DisplayLauncher::StartInteractiveDisplay() {
    if (!commands_.Connect(true)) return false;
    // The operator panel is reached over a serial line only; the command is not offered on
    // TCP/IP.
    if (doc_.PortIndex() == CVexa3Doc::kPortTcp) return false;
    DX3Protocol* protocol = doc_.GetProtocol();
    if (protocol == nullptr) {
        commands_.Ui().Message(kNotResponding);
        return false;
    }
    if (protocol->ProtocolIndex() != kProtocolMini) {
        commands_.Ui().Message(kMiniRequired);
        return false;
    }
    const char* program = EmulatorCommandLine::kPanelProgram;
    const std::optional<std::string> path = Locate(program);
    if (!path || !SendHandover(kTransferPanelHandover)) return false;

    auto* mini = dynamic_cast<MiniProtocol*>(doc_.GetProtocol());
    if (mini == nullptr) {
        commands_.Ui().Message(kNotResponding);
        return false;
    }
    std::vector<uint8_t> answer;
    // Only the device's two refusals stop the hand-over; any other answer, or none, goes on.
    if (mini->ReceiveBinary(answer) == -kStatusRejected) {
        if (mini->LastCode() == kPanelInUseCode) {
            commands_.Ui().Message(kPanelInUse);
            return false;
        }
        if (mini->LastCode() == kStatusDisplayOffCode) {
            commands_.Ui().Message(kStatusDisplayOff);
            return false;
        }
    }
    const int comPort = doc_.PortIndex();
    ReleasePort();
    return Finish(Start(*path, program, EmulatorCommandLine::Panel(comPort, doc_.ArmAddresses())));
}

CVexa3Doc::ConnectionState DisplayLauncher::Reconnect() {
    launcher_.ReapFinished();
    return doc_.Connect(false);
}

std::optional<std::string> DisplayLauncher::Locate(const char* program) const {
    std::optional<std::string> path = ProcessLauncher::FindProgram(program, programDir_);
    if (!path) commands_.Ui().Message(StartFailureText(program, "not found beside Quillset or on PATH"));
    return path;
}

bool DisplayLauncher::SendHandover(uint16_t code) {
    auto* mini = dynamic_cast<MiniProtocol*>(doc_.GetProtocol());
    if (mini == nullptr) {
        commands_.Ui().Message(kMiniRequired);
        return false;
    }
    if (mini->SendBinary(EmulatorCommandLine::HandoverRequest(code)) == nullptr) {
        mini->ReportError(nullptr, MB_OK);
        return false;
    }
    return true;
}

void DisplayLauncher::ReleasePort() {
    commands_.Ports().CloseSlot(doc_.PortIndex());
    doc_.SetState(CVexa3Doc::kStateOffline);
}

bool DisplayLauncher::Start(const std::string& path, const char* program, const std::string& parameters) {
    launcher_.ReapFinished();
    const ProcessLauncher::Started started = launcher_.Start(path, ProcessLauncher::SplitWords(parameters));
    if (!started.ok) commands_.Ui().Message(StartFailureText(program, started.message));
    return started.ok;
}

bool DisplayLauncher::Finish(bool started) {
    if (!started) {
        // Nobody holds the port the device gave away: take it back.
        Reconnect();
        return false;
    }
    const DeviceCommandHooks& hooks = commands_.Hooks();
    if (hooks.setMainTitle) hooks.setMainTitle(kMainTitle);
    if (hooks.minimiseMain) hooks.minimiseMain();
    return true;
}

}  // namespace qs
