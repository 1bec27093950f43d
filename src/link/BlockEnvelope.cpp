#include "link/BlockEnvelope.h"

namespace qs {

std::vector<uint8_t> BlockEnvelope::Head(uint16_t code) {
    std::vector<uint8_t> head = {'S', 'V', ' '};
    PutU16(head, code);
    return head;
}

std::vector<uint8_t> BlockEnvelope::ReadRequest(uint16_t code, uint16_t block) {
    std::vector<uint8_t> request = Head(code);
    PutU16(request, block);
    return request;
}

void BlockEnvelope::PutU16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void BlockEnvelope::PutU32(std::vector<uint8_t>& out, uint32_t value) {
    PutU16(out, static_cast<uint16_t>(value >> 16));
    PutU16(out, static_cast<uint16_t>(value));
}

uint16_t BlockEnvelope::U16At(std::span<const uint8_t> bytes, size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 2) return 0;
    return static_cast<uint16_t>(bytes[offset] << 8 | bytes[offset + 1]);
}

uint32_t BlockEnvelope::U32At(std::span<const uint8_t> bytes, size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 4) return 0;
    return static_cast<uint32_t>(U16At(bytes, offset)) << 16 | U16At(bytes, offset + 2);
}

std::optional<BlockEnvelope::Announcement> BlockEnvelope::ParseFirstReply(std::span<const uint8_t> reply) {
    if (reply.size() < kFirstReplyBytes) return std::nullopt;
    return Announcement{U32At(reply, kDataOffset), U32At(reply, kDataOffset + 4)};
}

std::span<const uint8_t> BlockEnvelope::BlockData(std::span<const uint8_t> reply) {
    if (reply.size() <= kDataOffset) return {};
    return reply.subspan(kDataOffset);
}

}  // namespace qs
