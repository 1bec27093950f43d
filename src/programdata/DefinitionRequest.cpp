#include "programdata/DefinitionRequest.h"

#include <algorithm>

#include "link/MiniProtocol.h"
#include "platform/BinaryArchive.h"
#include "programdata/CParam.h"

namespace qs {

DefinitionRequest::DefinitionRequest(uint16_t transferCode, std::initializer_list<uint16_t> arguments) {
    bytes_ = {'S', 'V', ' ', static_cast<uint8_t>(transferCode >> 8), static_cast<uint8_t>(transferCode & 0xFF)};
    for (uint16_t a : arguments) {
        bytes_.push_back(static_cast<uint8_t>(a >> 8));
        bytes_.push_back(static_cast<uint8_t>(a & 0xFF));
    }
}

DefinitionRequest::Result DefinitionRequest::Run(MiniProtocol& protocol, int number, ArchiveWriter& out) const {
    if (protocol.SendBinary(bytes_) == nullptr) return Result::Failed;
    std::vector<uint8_t> reply;
    const int n = protocol.ReceiveBinary(reply);
    if (n == -kStatusRejected) return Result::Absent;
    if (n < static_cast<int>(MiniProtocol::kMinBinaryReplyBytes)) return Result::Failed;
    const size_t length = std::min(static_cast<size_t>(n), reply.size());
    if (length < MiniProtocol::kMinBinaryReplyBytes) return Result::Failed;
    const std::span<const uint8_t> data(reply.data() + MiniProtocol::kMinBinaryReplyBytes,
                                        length - MiniProtocol::kMinBinaryReplyBytes);
    CParam definition;
    // A reply too short to hold a definition is a fault of the link, not a missing code.
    return definition.FromDirectoryRecord(number, data, &out) ? Result::Defined : Result::Failed;
}

}  // namespace qs
