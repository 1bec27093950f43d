#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "link/ComStream.h"
#include "link/TransferTexts.h"
#include "platform/ProgressSink.h"

namespace qs {

class ComProtocol;
class MiniProtocol;

// How a transfer ended. Every failure has been shown to the user by then; a cancel shows nothing.
enum class TransferOutcome { Done, Failed, Cancelled };

// What the two transfer patterns share: the link, the transfer code, the owner's texts, the
// progress window and the way a failed step is reported.
class BlockTransfer {
public:
    static constexpr const char* kMiniRequired = "Minicomputer Mode Required for this function";
    static constexpr const char* kEightBitsRequired = "An 8-Bit Data Protocol Required for this function";

    // The preconditions of every transfer, checked before anything is sent: a Minicomputer
    // protocol (index 1) on 8 data bits. Returns it as the binary protocol, or null after
    // showing the message of the first check that fails. A null protocol (the owner's link
    // could not be had, and that was already reported) gives null without a message.
    static MiniProtocol* RequireBinaryLink(ComProtocol* protocol);

    BlockTransfer(MiniProtocol& protocol, uint16_t code, TransferTexts texts);
    virtual ~BlockTransfer();
    BlockTransfer(const BlockTransfer&) = delete;
    BlockTransfer& operator=(const BlockTransfer&) = delete;

    uint16_t Code() const { return code_; }
    const TransferTexts& Texts() const { return texts_; }
    // The progress window once the transfer opened it (null before); it stays up until this
    // object goes, so an owner can keep it while it takes the data over.
    ProgressSink* Progress() const { return progress_.get(); }

protected:
    // The protocol's report of its last failure behind `prefix`, with OK and Cancel.
    void Report(const std::string& prefix);
    // A failure found here rather than by the protocol: the port status is set to `status` so
    // that any later report of it has a definite text, and the box reads "<prefix> - <detail>".
    void ReportOwn(PortStatus status, const std::string& prefix, const std::string& detail);
    // Sends one block and reads its reply into `reply`. A send the protocol refuses or cannot
    // write, or a failed or rejected reply, is reported behind `prefix`. Returns false then.
    bool Exchange(std::span<const uint8_t> block, std::vector<uint8_t>& reply, const std::string& prefix);
    // Opens the progress window with the owner's title, `text` and the range 0..upper.
    void OpenProgress(const std::string& text, int64_t upper);
    // Lets the user act on the window; false once Cancel or Esc was pressed.
    bool Pump();

    MiniProtocol& protocol_;
    const uint16_t code_;
    const TransferTexts texts_;
    std::unique_ptr<ProgressSink> progress_;
};

}  // namespace qs
