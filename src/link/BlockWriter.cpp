#include "link/BlockWriter.h"

#include <climits>

#include "link/BlockEnvelope.h"
#include "link/Crc32.h"
#include "link/MiniProtocol.h"

namespace qs {

BlockWriter::BlockWriter(MiniProtocol& protocol, uint16_t code, TransferTexts texts, Options options)
    : BlockTransfer(protocol, code, std::move(texts)), options_(options), frame_(BlockEnvelope::Head(code)) {
    Crc32Init(&crcState_);
}

void BlockWriter::ReportOversizeItem(size_t index, size_t size) {
    ReportOwn(kStatusTransmitError, texts_.sending,
              "Item " + std::to_string(index + 1) + " is " + std::to_string(size) + " bytes; one frame holds at most " +
                  std::to_string(BlockEnvelope::kMaxItemBytes));
}

bool BlockWriter::CheckItems(std::span<const std::string> items) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].size() > BlockEnvelope::kMaxItemBytes) {
            ReportOversizeItem(i, items[i].size());
            return false;
        }
    }
    return true;
}

void BlockWriter::Begin(uint32_t total) {
    total_ = total;
    OpenProgress("Sending...", total);
}

TransferOutcome BlockWriter::Initiate() {
    std::vector<uint8_t> reply;
    if (!Exchange(BlockEnvelope::Head(code_), reply, texts_.initiation)) return TransferOutcome::Failed;
    return TransferOutcome::Done;
}

void BlockWriter::StartFirstFrame() {
    frame_ = BlockEnvelope::Head(code_);
    BlockEnvelope::PutU32(frame_, total_);
    Crc32Init(&crcState_);
    crc_ = 0;
    fed_ = 0;
}

TransferOutcome BlockWriter::Append(std::span<const uint8_t> bytes) {
    if (!progress_) OpenProgress("Sending...", total_);
    for (uint8_t b : bytes) {
        crc_ = Crc32UpdateByte(&crcState_, b);
        ++fed_;
        frame_.push_back(b);
        progress_->StepIt();
        if (!Pump()) return TransferOutcome::Cancelled;
    }
    return TransferOutcome::Done;
}

TransferOutcome BlockWriter::Append(std::string_view bytes) {
    return Append(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

TransferOutcome BlockWriter::SendFrame(const std::string& prefix) {
    std::vector<uint8_t> reply;
    if (!Exchange(frame_, reply, prefix)) return TransferOutcome::Failed;
    frame_ = BlockEnvelope::Head(code_);
    return TransferOutcome::Done;
}

TransferOutcome BlockWriter::AddItems(std::span<const std::string> items) {
    for (size_t i = 0; i < items.size(); ++i) {
        const std::string& item = items[i];
        if (item.size() > BlockEnvelope::kMaxItemBytes) {
            ReportOversizeItem(i, item.size());
            return TransferOutcome::Failed;
        }
        if (frame_.size() + item.size() > BlockEnvelope::kMaxFrameBytes) {
            if (TransferOutcome sent = SendFrame(texts_.sending); sent != TransferOutcome::Done) return sent;
        }
        if (TransferOutcome added = Append(item); added != TransferOutcome::Done) return added;
    }
    return TransferOutcome::Done;
}

TransferOutcome BlockWriter::Close() {
    static constexpr uint8_t kClosingZero[1] = {0x00};
    if (TransferOutcome added = Append(kClosingZero); added != TransferOutcome::Done) return added;
    BlockEnvelope::PutU32(frame_, crc_);
    if (!protocol_.SendBinary(frame_)) {
        Report(texts_.final);
        return TransferOutcome::Failed;
    }
    std::vector<uint8_t> reply;
    int result = protocol_.ReceiveBinary(reply);
    // The device may take a while to store the set before it answers the last frame.
    if (result == -kStatusTimeout && options_.secondFinalWait) result = protocol_.ReceiveBinary(reply);
    if (result < 0) {
        Report(texts_.final);
        return TransferOutcome::Failed;
    }
    return TransferOutcome::Done;
}

TransferOutcome BlockWriter::Write(std::span<const uint8_t> header, std::span<const std::string> items) {
    if (!CheckItems(items)) return TransferOutcome::Failed;
    uint64_t total = header.size() + 1;
    for (const std::string& item : items) total += item.size();
    if (total > static_cast<uint64_t>(INT_MAX)) {
        ReportOwn(kStatusTransmitError, texts_.sending,
                  "Data set of " + std::to_string(total) + " bytes is too large to send");
        return TransferOutcome::Failed;
    }
    Begin(static_cast<uint32_t>(total));
    if (TransferOutcome r = Initiate(); r != TransferOutcome::Done) return r;
    StartFirstFrame();
    if (TransferOutcome r = Append(header); r != TransferOutcome::Done) return r;
    if (TransferOutcome r = AddItems(items); r != TransferOutcome::Done) return r;
    return Close();
}

}  // namespace qs
