#pragma once
#include <optional>
#include <string>
#include <vector>

#include "device/Fault.h"

namespace sim {

// What the faults that hit one frame do to its reply.
struct FaultEffects {
    int64_t delayMs = 0;
    bool drop = false;
    int noise = 0;
    bool badLrc = false;
    bool noCr = false;
    size_t longReply = 0;
    std::optional<int> reject;
    std::optional<uint16_t> status;
    bool close = false;
    bool badCrc = false;
    std::optional<uint32_t> length;
    bool emptyBlock = false;
    bool shortReply = false;
};

// Every fault of the run, with their counts of frames seen and hit.
class FaultPlan {
public:
    // Adds "kind[=value][,modifier...]"; returns "" or what is wrong with it.
    std::string Add(std::string_view text);
    void Add(Fault fault) { faults_.push_back(std::move(fault)); }
    bool Empty() const { return faults_.empty(); }

    // The combined effect on this frame; counts it against every fault it matches.
    FaultEffects Apply(const FrameTraits& frame);

private:
    std::vector<Fault> faults_;
};

}  // namespace sim
