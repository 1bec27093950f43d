#include "emulators/display/MemoryBudget.h"

namespace qs::display {

std::optional<size_t> MemoryBudget::SizeClass(size_t bytes) {
    if (bytes < 6) return 6;
    if (bytes < 10) return 10;
    if (bytes < 42) return 42;
    if (bytes < 82) return 82;
    if (bytes <= 640) return 642;
    if (bytes < 9601) return 9602;
    return std::nullopt;
}

std::optional<size_t> MemoryBudget::Take(size_t bytes) {
    const std::optional<size_t> size = SizeClass(bytes);
    if (!size || *size > limit_ - used_) return std::nullopt;
    used_ += *size;
    return size;
}

}  // namespace qs::display
