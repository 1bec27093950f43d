#include "link/BlockTransfer.h"

#include <climits>

#include "link/MiniProtocol.h"
#include "platform/UiServices.h"

namespace qs {

MiniProtocol* BlockTransfer::RequireBinaryLink(ComProtocol* protocol) {
    if (!protocol) return nullptr;
    auto* mini = dynamic_cast<MiniProtocol*>(protocol);
    if (!mini || protocol->ProtocolIndex() != kProtocolMini) {
        ShowMessage(kMiniRequired);
        return nullptr;
    }
    if (mini->GetDataBits() != 8) {
        ShowMessage(kEightBitsRequired);
        return nullptr;
    }
    return mini;
}

BlockTransfer::BlockTransfer(MiniProtocol& protocol, uint16_t code, TransferTexts texts)
    : protocol_(protocol), code_(code), texts_(std::move(texts)) {}

BlockTransfer::~BlockTransfer() = default;

void BlockTransfer::Report(const std::string& prefix) { protocol_.ReportError(prefix.c_str(), MB_OKCANCEL); }

void BlockTransfer::ReportOwn(PortStatus status, const std::string& prefix, const std::string& detail) {
    protocol_.Port()->SetStatus(status);
    ShowMessage(prefix + " - " + detail, MB_OKCANCEL);
}

bool BlockTransfer::Exchange(std::span<const uint8_t> block, std::vector<uint8_t>& reply, const std::string& prefix) {
    reply.clear();
    if (!protocol_.SendBinary(block)) {
        Report(prefix);
        return false;
    }
    if (protocol_.ReceiveBinary(reply) < 0) {
        Report(prefix);
        return false;
    }
    return true;
}

void BlockTransfer::OpenProgress(const std::string& text, int64_t upper) {
    progress_ = MakeProgress(texts_.title);
    progress_->SetText(text);
    progress_->SetRange(0, static_cast<int>(upper < 0 ? 0 : upper > INT_MAX ? INT_MAX : upper), 1);
}

bool BlockTransfer::Pump() { return progress_->PeekAndPump(true, true) && !progress_->Cancelled(); }

}  // namespace qs
