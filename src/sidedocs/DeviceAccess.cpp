#include "sidedocs/DeviceAccess.h"

#include "link/BlockTransfer.h"
#include "link/DX3Protocol.h"

namespace qs {

DeviceAccess::Link DeviceAccess::Connect(bool requireOnline) const {
    CVexa3Doc* document = chooseDocument ? chooseDocument() : nullptr;
    if (!document || !connectedProtocol) return {};
    MiniProtocol* protocol = BlockTransfer::RequireBinaryLink(connectedProtocol(*document, requireOnline));
    if (!protocol) return {};
    return {document, protocol};
}

}  // namespace qs
