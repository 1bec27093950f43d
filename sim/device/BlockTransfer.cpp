#include "device/BlockTransfer.h"

#include "device/LogBook.h"

namespace sim {
namespace {

constexpr size_t kHead = 5;        // "SV " and the transfer code
constexpr size_t kReadRequest = 7; // and the block number
constexpr size_t kTotal = 4;       // the total after the head of the first data frame
constexpr size_t kCrcBytes = 4;

}  // namespace

Bytes BlockTransfer::Head(uint16_t code, uint16_t status) {
    Bytes out("SV ");
    PutU16(out, code);
    PutU16(out, status);
    return out;
}

uint16_t BlockTransfer::CodeOf(const Bytes& request) {
    if (request.size() >= kHead) return GetU16(request, 3);
    if (request.size() == 4) return static_cast<uint16_t>(ByteAt(request, 3) << 8);
    return 0;
}

BlockInfo BlockTransfer::Classify(const Bytes& request) const {
    BlockInfo info;
    info.code = CodeOf(request);
    if (request.size() < kHead || request.compare(0, 3, "SV ") != 0) return info;
    if (info.code == kRemoteDisplayHandover || info.code == kPanelHandover) {
        info.kind = BlockKind::Handover;
        return info;
    }
    if (specials_ && specials_->count(info.code)) {
        info.kind = BlockKind::Special;
        // A request for one part of a transaction names the part as its block.
        info.block = LogBook::PartOf(request);
        return info;
    }
    if (request.size() == kHead) {
        info.kind = BlockKind::WriteInit;
        info.block = 0;
        return info;
    }
    if (write_ && write_->code == info.code) {
        info.kind = BlockKind::WriteData;
        info.block = write_->frames + 1;
        if (auto body = FrameBody(request)) {
            const size_t total = write_->frames == 0 ? GetU32(request, kHead) : write_->total;
            info.final = write_->data.size() + body->size() >= static_cast<uint64_t>(total) + kCrcBytes ||
                         ClosedEarly(write_->crc, write_->data, *body);
        }
        return info;
    }
    if (request.size() == kReadRequest) {
        info.kind = BlockKind::Read;
        info.block = GetU16(request, kHead);
    }
    return info;
}

std::optional<Bytes> BlockTransfer::Handle(int address, const Bytes& request, const BlockFaults& faults) {
    const BlockInfo info = Classify(request);
    if (info.kind != BlockKind::WriteData) write_.reset();
    switch (info.kind) {
    case BlockKind::Handover:
        // The remote-display hand-over is never answered: the program reads nothing after it.
        if (info.code == kRemoteDisplayHandover) return std::nullopt;
        return Head(info.code, options_.panelHandoverStatus);
    case BlockKind::Special:
        return specials_->at(info.code)(address, request);
    case BlockKind::WriteInit:
        write_.emplace();
        write_->code = info.code;
        return Head(info.code, kOk);
    case BlockKind::WriteData:
        return WriteFrame(request);
    case BlockKind::Read:
        return ReadBlock(info.code, *info.block, faults);
    case BlockKind::Malformed:
        break;
    }
    return Head(info.code, kBadMessageFormat);
}

Bytes BlockTransfer::Refuse(const Bytes& request, uint16_t status) {
    write_.reset();
    return Head(CodeOf(request), status);
}

Bytes BlockTransfer::ReadBlock(uint16_t code, int block, const BlockFaults& faults) {
    if (block == 0 || readCode_ != code) {
        std::optional<Bytes> set = store_.Read(code);
        if (!set) {
            readCode_.reset();
            return Head(code, kNoConfiguration);
        }
        readCode_ = code;
        readData_ = std::move(*set);
    }
    if (block == 0) {
        Bytes reply = Head(code, kOk);
        PutU32(reply, faults.lengthOverride ? *faults.lengthOverride : static_cast<uint32_t>(readData_.size()));
        const uint32_t crc = Crc32::Of(readData_);
        PutU32(reply, faults.badCrc ? crc ^ 0xA5A5A5A5u : crc);
        return reply;
    }
    const uint64_t offset = static_cast<uint64_t>(block - 1) * options_.blockSize;
    if (offset >= readData_.size()) return Head(code, kBlockNotFound);
    Bytes reply = Head(code, kOk);
    if (!faults.emptyBlock) reply += readData_.substr(static_cast<size_t>(offset), options_.blockSize);
    return reply;
}

std::optional<std::string_view> BlockTransfer::FrameBody(const Bytes& request) const {
    std::string_view all(request);
    if (write_->frames > 0) return all.substr(kHead);
    if (all.size() < kHead + kTotal) return std::nullopt;
    return all.substr(kHead + kTotal);
}

Bytes BlockTransfer::WriteFrame(const Bytes& request) {
    BlockWrite& w = *write_;
    const std::optional<std::string_view> body = FrameBody(request);
    if (!body) return Refuse(request, kBadMessageFormat);
    if (w.frames == 0) {
        w.total = GetU32(request, kHead);
        if (w.total > options_.writeLimit) return Refuse(request, kDataTooLarge);
    }
    const uint64_t expected = static_cast<uint64_t>(w.total) + kCrcBytes;
    // More bytes than announced, or a closing 0x00 and CRC-32 before the announced count.
    if (w.data.size() + body->size() > expected) return Refuse(request, kBadCrc);
    const bool closedEarly = ClosedEarly(w.crc, w.data, *body);
    w.crc = Advance(w.crc, w.data, *body);
    w.data += *body;
    ++w.frames;
    if (w.data.size() < expected) {
        if (closedEarly) return Refuse(request, kBadCrc);
        return Head(w.code, kOk);
    }
    const uint32_t sent = GetU32(w.data, w.total);
    const uint16_t code = w.code;
    if (sent != w.crc.Value()) return Refuse(request, kBadCrc);
    w.data.resize(w.total);
    saveFault_ = store_.Save(code, w.data);
    write_.reset();
    return Head(code, saveFault_.empty() ? kOk : kStorageFull);
}

// The state after `more` is appended to `data`, still leaving the last four bytes out.
Crc32 BlockTransfer::Advance(const Crc32& crc, std::string_view data, std::string_view more) {
    Crc32 next = crc;
    const size_t before = data.size() > kCrcBytes ? data.size() - kCrcBytes : 0;
    const size_t total = data.size() + more.size();
    const size_t after = total > kCrcBytes ? total - kCrcBytes : 0;
    for (size_t i = before; i < after; ++i) {
        next.Update(static_cast<uint8_t>(i < data.size() ? data[i] : more[i - data.size()]));
    }
    return next;
}

bool BlockTransfer::ClosedEarly(const Crc32& crc, std::string_view data, std::string_view more) {
    const size_t total = data.size() + more.size();
    if (total < kCrcBytes + 1) return false;
    auto at = [&](size_t i) { return static_cast<uint8_t>(i < data.size() ? data[i] : more[i - data.size()]); };
    if (at(total - kCrcBytes - 1) != 0) return false;
    uint32_t tail = 0;
    for (size_t i = total - kCrcBytes; i < total; ++i) tail = tail << 8 | at(i);
    return tail == Advance(crc, data, more).Value();
}

}  // namespace sim
