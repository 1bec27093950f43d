#include "link/BlockReader.h"

#include <algorithm>
#include <climits>
#include <new>

#include "link/BlockEnvelope.h"
#include "link/Crc32.h"
#include "link/MiniProtocol.h"
#include "platform/UiServices.h"

namespace qs {

namespace {

constexpr uint32_t kLastBlockNumber = 0xFFFF;

}  // namespace

BlockReader::BlockReader(MiniProtocol& protocol, uint16_t code, TransferTexts texts, size_t limit)
    : BlockTransfer(protocol, code, std::move(texts)), limit_(limit) {}

TransferOutcome BlockReader::Read(std::vector<uint8_t>& data) {
    std::vector<uint8_t> reply;
    if (!Exchange(BlockEnvelope::ReadRequest(code_, 0), reply, texts_.initiatingRead)) return TransferOutcome::Failed;
    const auto announced = BlockEnvelope::ParseFirstReply(reply);
    if (!announced) {
        // A reply that came but is too short to say length and CRC is a fault of the reply.
        protocol_.Port()->SetStatus(kStatusProtocolError);
        Report(texts_.initiatingRead);
        return TransferOutcome::Failed;
    }
    length_ = announced->length;
    crc_ = announced->crc;
    if (length_ > limit_) {
        ReportOwn(kStatusProtocolError, texts_.initiatingRead,
                  "Data too large for Target Buffer (" + std::to_string(length_) + " bytes announced, at most " +
                      std::to_string(limit_) + " accepted)");
        return TransferOutcome::Failed;
    }

    std::vector<uint8_t> buffer;
    try {
        buffer.reserve(length_);
    } catch (const std::bad_alloc&) {
        ShowMessage(texts_.allocation);
        return TransferOutcome::Failed;
    }

    OpenProgress("Uploading...", length_);
    for (uint32_t block = 1; buffer.size() < length_; ++block) {
        if (block > kLastBlockNumber) {
            // Blocks too small to reach the length before the block number runs out.
            protocol_.Port()->SetStatus(kStatusProtocolError);
            Report(texts_.transfer);
            return TransferOutcome::Failed;
        }
        if (!Exchange(BlockEnvelope::ReadRequest(code_, static_cast<uint16_t>(block)), reply, texts_.transfer)) {
            return TransferOutcome::Failed;
        }
        const std::span<const uint8_t> chunk = BlockEnvelope::BlockData(reply);
        if (chunk.empty()) {
            // A block without data would have the read ask for ever.
            protocol_.Port()->SetStatus(kStatusProtocolError);
            Report(texts_.transfer);
            return TransferOutcome::Failed;
        }
        const size_t take = std::min(chunk.size(), static_cast<size_t>(length_) - buffer.size());
        buffer.insert(buffer.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(take));
        progress_->SetPos(static_cast<int>(std::min<size_t>(buffer.size(), INT_MAX)));
        if (!Pump()) return TransferOutcome::Cancelled;
    }

    if (Crc32(buffer.data(), buffer.size()) != crc_) {
        ShowMessage(texts_.crcMismatch);
        return TransferOutcome::Failed;
    }
    data = std::move(buffer);
    return TransferOutcome::Done;
}

}  // namespace qs
