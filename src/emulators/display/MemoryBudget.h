#pragma once
#include <cstddef>
#include <optional>

namespace qs::display {

// Every variable block of the display list is charged at its size class, against a limit that
// keeps a device that defines without end from taking the machine's memory.
class MemoryBudget {
public:
    static constexpr size_t kDefaultLimit = 4u << 20;

    // The class a request of `bytes` is rounded up to; nullopt for requests above 9601 bytes.
    static std::optional<size_t> SizeClass(size_t bytes);

    explicit MemoryBudget(size_t limit = kDefaultLimit) : limit_(limit) {}

    // Charges the class of `bytes`; the amount charged, or nullopt when it does not fit.
    std::optional<size_t> Take(size_t bytes);
    void Release(size_t charged) { used_ = charged > used_ ? 0 : used_ - charged; }
    // Charges again what was released just before (a replacement that did not fit).
    void Restore(size_t charged) { used_ += charged; }

    size_t Used() const { return used_; }
    size_t Limit() const { return limit_; }

private:
    size_t limit_;
    size_t used_ = 0;
};

}  // namespace qs::display
