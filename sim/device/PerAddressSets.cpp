#include "device/PerAddressSets.h"

namespace sim {

std::optional<Bytes> PerAddressSets::Read(int address, uint16_t code) const {
    auto it = sets_.find({code, address});
    if (it == sets_.end()) return std::nullopt;
    return it->second;
}

bool PerAddressSets::Keep(int address, uint16_t code, const Bytes& data) {
    auto pair = readCodeOf_.find(code);
    if (pair == readCodeOf_.end()) return false;
    sets_[{pair->second, address}] = data;
    return true;
}

}  // namespace sim
