#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/BlockTransfer.h"

namespace qs {

// Writes one data set to the device, as steps an owner combines:
//   Begin(total)      progress window "Sending...", range 0..total
//   Initiate()        the 5-byte initiation frame and its reply
//   StartFirstFrame() the first data frame: the head and the total
//   Append(bytes)     payload into the frame: every byte enters the CRC-32 and steps the progress
//   SendFrame(prefix) the frame out, its reply in; the next frame starts with the head alone
//   AddItems(items)   whole items into frames of at most 507 bytes, full frames sent as they fill
//   Close()           the closing 0x00 and the CRC-32, sent, and the final reply
// Write() runs them all for a header and a list of items (the frame-filling pattern); owners
// that send one record per frame combine the steps themselves. Every byte that enters the CRC
// is followed by a look at Cancel and Esc; a cancel ends the write at once without a message.
class BlockWriter : public BlockTransfer {
public:
    struct Options {
        // After a time-out on the reply to the closing frame, wait for that reply once more.
        bool secondFinalWait = false;
    };

    BlockWriter(MiniProtocol& protocol, uint16_t code, TransferTexts texts, Options options);
    BlockWriter(MiniProtocol& protocol, uint16_t code, TransferTexts texts)
        : BlockWriter(protocol, code, std::move(texts), Options{}) {}

    // Checked before anything is sent: every item must fit in one frame behind the head (items
    // are never split). The first that does not is named in a box behind the sending prefix,
    // with port status 2, and false is returned.
    bool CheckItems(std::span<const std::string> items);

    void Begin(uint32_t total);
    TransferOutcome Initiate();
    void StartFirstFrame();
    TransferOutcome Append(std::span<const uint8_t> bytes);
    TransferOutcome Append(std::string_view bytes);
    TransferOutcome SendFrame(const std::string& prefix);
    TransferOutcome AddItems(std::span<const std::string> items);
    TransferOutcome Close();

    // The frame-filling write: total = header + items + the closing 0x00; the header goes
    // into the first frame behind the total, then the items, then the close.
    TransferOutcome Write(std::span<const uint8_t> header, std::span<const std::string> items);

    uint32_t Total() const { return total_; }
    // Payload bytes fed to the CRC-32 so far, and their CRC-32.
    uint64_t BytesFed() const { return fed_; }
    uint32_t Crc() const { return crc_; }
    // The frame being filled.
    const std::vector<uint8_t>& Frame() const { return frame_; }

private:
    void ReportOversizeItem(size_t index, size_t size);

    Options options_;
    uint32_t total_ = 0;
    uint32_t crcState_ = 0;
    uint32_t crc_ = 0;
    uint64_t fed_ = 0;
    std::vector<uint8_t> frame_;
};

}  // namespace qs
