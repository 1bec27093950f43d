#include "programdata/DefinitionProtocol.h"

#include "link/BlockTransfer.h"
#include "link/MiniProtocol.h"
#include "platform/IniProfile.h"

namespace qs {

DefinitionProtocol::~DefinitionProtocol() { Reset(); }

DefinitionProtocol::DefinitionProtocol(DefinitionProtocol&& other) noexcept
    : protocol_(other.protocol_), owned_(std::move(other.owned_)), release_(std::move(other.release_)) {
    other.protocol_ = nullptr;
    other.release_ = nullptr;
}

DefinitionProtocol& DefinitionProtocol::operator=(DefinitionProtocol&& other) noexcept {
    if (this != &other) {
        Reset();
        protocol_ = other.protocol_;
        owned_ = std::move(other.owned_);
        release_ = std::move(other.release_);
        other.protocol_ = nullptr;
        other.release_ = nullptr;
    }
    return *this;
}

void DefinitionProtocol::Reset() {
    protocol_ = nullptr;
    owned_.reset();
    if (release_) {
        auto release = std::move(release_);
        release_ = nullptr;
        release();
    }
}

std::unique_ptr<MiniProtocol> DefinitionProtocol::ConnectTcp(const std::string& host) {
    auto protocol = std::make_unique<MiniProtocol>(host, kTcpPort, kProtocolMini, kDeviceAddress);
    if (protocol->Port()->State() == kStateClosed) return nullptr;
    return protocol;
}

DefinitionProtocol DefinitionProtocol::Acquire(const Com1Hook& com1, const IniProfile& ini, const TcpFactory& tcp) {
    DefinitionProtocol lease;
    if (com1.acquire) {
        if (ComProtocol* p = com1.acquire()) {
            auto* mini = dynamic_cast<MiniProtocol*>(p);
            if (mini != nullptr && p->ProtocolIndex() == kProtocolMini) {
                // The definitions come in binary blocks, which a line of fewer data bits
                // would corrupt: refused with the message every block transfer gives.
                if (BlockTransfer::RequireBinaryLink(mini) == nullptr) {
                    if (com1.release) com1.release();
                    return lease;
                }
                lease.protocol_ = mini;
                lease.release_ = com1.release;
                return lease;
            }
            // A Terminal protocol on COM1 has no binary blocks: give it back and go by TCP/IP.
            if (com1.release) com1.release();
        }
    }
    const std::string host = ini.GetString(kIniSection, kIniHostKey, kDefaultHost);
    if (host.empty()) return lease;
    lease.owned_ = tcp ? tcp(host) : ConnectTcp(host);
    lease.protocol_ = lease.owned_.get();
    return lease;
}

}  // namespace qs
