#include "programdata/DocumentLink.h"

#include <exception>

#include "link/ComPortTable.h"
#include "link/DX3Protocol.h"
#include "link/MiniProtocol.h"
#include "link/TerminalProtocol.h"

namespace qs {

DocumentLink::DocumentLink(ComPortTable& ports) : ports_(ports) {}

DocumentLink::~DocumentLink() { Release(); }

DX3Protocol* DocumentLink::Protocol(int port) const {
    if (port == 0) return own_.get();
    if (ComPortTable::IsValidPort(port)) return dynamic_cast<DX3Protocol*>(ports_.Protocol(port));
    return nullptr;
}

bool DocumentLink::OpenTcp(const std::string& host, int protocolKind) {
    if (own_) {
        // A device that closed the connection while it lay idle is noticed now, so that the
        // connection is made again rather than the probe failing on the old one.
        own_->Port()->PurgeInput();
        if (own_->Port()->State() >= kStateOpen) return true;
    }
    own_.reset();
    try {
        if (tcpFactory_)
            own_ = tcpFactory_(host, protocolKind);
        else if (protocolKind == kProtocolMini)
            own_ = std::make_unique<MiniProtocol>(host, kTcpPort, kProtocolMini, 1);
        else
            own_ = std::make_unique<TerminalProtocol>(host, kTcpPort, kProtocolTerminal, 1);
    } catch (const std::exception&) {
        own_.reset();
    }
    return own_ != nullptr;
}

bool DocumentLink::OpenCom(int port, int protocolKind) {
    if (!ports_.OpenComPort(port, protocolKind != kProtocolTerminal)) return false;
    if (heldPort_ != port) {
        if (heldPort_ != 0) ports_.ReleasePort(heldPort_);
        heldPort_ = ports_.AddRefPort(port) ? port : 0;
    }
    return true;
}

void DocumentLink::Release() {
    if (heldPort_ != 0) {
        ports_.ReleasePort(heldPort_);
        heldPort_ = 0;
    }
    own_.reset();
}

}  // namespace qs
