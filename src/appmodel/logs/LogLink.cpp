#include "appmodel/logs/LogLink.h"

#include "link/BlockEnvelope.h"
#include "link/MiniProtocol.h"
#include "link/TransferCodes.h"

namespace qs {

bool LogReply::Rejected() const { return result == -kStatusRejected; }

LogPayload LogReply::Payload() const { return LogPayload(BlockEnvelope::BlockData(bytes)); }

int64_t LogRange::Count() const {
    return last >= first ? static_cast<int64_t>(last) - static_cast<int64_t>(first) + 1 : 0;
}

std::vector<uint8_t> LogLink::RangeRequest(uint16_t code, uint16_t which) {
    std::vector<uint8_t> request = BlockEnvelope::Head(code);
    BlockEnvelope::PutU16(request, which);
    return request;
}

std::vector<uint8_t> LogLink::EntryRequest(uint16_t code, uint32_t sequence) {
    std::vector<uint8_t> request = BlockEnvelope::Head(code);
    BlockEnvelope::PutU32(request, sequence);
    return request;
}

std::vector<uint8_t> LogLink::PartRequest(uint32_t transaction, uint16_t part) {
    std::vector<uint8_t> request = BlockEnvelope::Head(kTransferTransactionPart);
    BlockEnvelope::PutU32(request, transaction);
    BlockEnvelope::PutU16(request, part);
    return request;
}

LogReply LogLink::Ask(const std::vector<uint8_t>& request) {
    LogReply reply;
    if (protocol_.SendBinary(request) == nullptr) {
        reply.result = -static_cast<int>(protocol_.Port()->Status());
        if (reply.result == 0) reply.result = -kStatusTransmitError;
        return reply;
    }
    reply.result = protocol_.ReceiveBinary(reply.bytes);
    if (reply.Rejected()) reply.code = protocol_.LastCode();
    return reply;
}

std::optional<uint32_t> LogLink::RangeEnd(uint16_t rangeCode, uint16_t which) {
    const LogReply reply = Ask(RangeRequest(rangeCode, which));
    if (!reply.Ok() || !reply.Payload().Has(4)) return std::nullopt;
    return reply.Payload().U32(0);
}

std::optional<LogRange> LogLink::Range(uint16_t rangeCode) {
    const std::optional<uint32_t> first = RangeEnd(rangeCode, kOldest);
    if (!first) return std::nullopt;
    const std::optional<uint32_t> last = RangeEnd(rangeCode, kNewest);
    if (!last) return std::nullopt;
    return LogRange{*first, *last};
}

}  // namespace qs
