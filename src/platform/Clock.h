#pragma once
#include <cstdint>

namespace qs {

// Monotonic milliseconds: every deadline in the link is measured on it, never on wall time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t NowMs() const = 0;
};

class SteadyClock final : public Clock {
public:
    int64_t NowMs() const override;
};

}  // namespace qs
