#include "device/FaultPlan.h"

#include <algorithm>

namespace sim {

std::string FaultPlan::Add(std::string_view text) {
    std::string error;
    std::optional<Fault> fault = Fault::Parse(text, error);
    if (!fault) return error;
    faults_.push_back(std::move(*fault));
    return "";
}

FaultEffects FaultPlan::Apply(const FrameTraits& frame) {
    FaultEffects e;
    for (Fault& f : faults_) {
        if (!f.Matches(frame)) continue;
        ++f.seen;
        if (f.seen <= f.skip) continue;
        if (f.count >= 0 && f.applied >= f.count) continue;
        ++f.applied;
        switch (f.kind) {
        case FaultKind::Delay: e.delayMs += f.value; break;
        case FaultKind::Drop: e.drop = true; break;
        case FaultKind::Noise: e.noise += static_cast<int>(f.value); break;
        case FaultKind::BadLrc: e.badLrc = true; break;
        case FaultKind::NoCr: e.noCr = true; break;
        case FaultKind::LongReply: e.longReply = std::max(e.longReply, static_cast<size_t>(f.value)); break;
        case FaultKind::Reject: e.reject = static_cast<int>(f.value); break;
        case FaultKind::Status: e.status = static_cast<uint16_t>(f.value); break;
        case FaultKind::Close:
        case FaultKind::CloseAfter: e.close = true; break;
        case FaultKind::BadCrc: e.badCrc = true; break;
        case FaultKind::Length: e.length = static_cast<uint32_t>(f.value); break;
        case FaultKind::EmptyBlock: e.emptyBlock = true; break;
        case FaultKind::ShortReply: e.shortReply = true; break;
        }
    }
    e.noise = std::min(e.noise, 1 << 16);
    e.delayMs = std::min<int64_t>(e.delayMs, 3600000);
    return e;
}

}  // namespace sim
