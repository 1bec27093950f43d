#include "emulators/farview/core/RemoteDisplaySession.h"

#include "platform/SerialDevice.h"

namespace qs::farview {

RemoteDisplaySession::RemoteDisplaySession(const UiServices& ui, const Clock& clock, Setup setup,
                                           std::function<std::string(int)> pathForCom)
    : clock_(clock),
      engine_(display::DisplayVariant::RemoteDisplay, setup.quad ? 2 : 1),
      link_(engine_, clock, setup.master),
      opener_(ui, clock, pathForCom ? std::move(pathForCom) : std::function<std::string(int)>(&SerialPathForCom)) {}

RemoteDisplaySession::~RemoteDisplaySession() { Close(); }

void RemoteDisplaySession::Open(int port, const std::string& address) {
    Close();
    portNumber_ = port;
    address_ = address;
    if (ended_) return;
    port_ = opener_.Open(port, address);
    link_.Attach(port_.get(), port_.get());
}

bool RemoteDisplaySession::NeedsReopen(int oldPort, const std::string& oldAddress, int newPort,
                                       const std::string& newAddress) {
    if (newPort != oldPort) return true;
    return newPort == 0 && newAddress != oldAddress;
}

bool RemoteDisplaySession::Tick() {
    link_.ReceiveFrames();
    if (!link_.RedrawNeeded() && link_.ReceivedAnything()) return false;
    engine_.RedrawDisplays();
    link_.ClearRedrawNeeded();
    return true;
}

void RemoteDisplaySession::SendKey(uint8_t code) {
    if (!ended_) link_.SendKeyFrame(code);
}

void RemoteDisplaySession::Shutdown() {
    if (ended_) return;
    if (link_.Master()) link_.SendKeyFrame(display::DisplayLink::kExit);
    ended_ = true;
    Close();
}

void RemoteDisplaySession::Close() {
    link_.Attach(nullptr, nullptr);
    if (port_) port_->Close();
    port_.reset();
}

}  // namespace qs::farview
