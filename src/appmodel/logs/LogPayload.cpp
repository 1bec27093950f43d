#include "appmodel/logs/LogPayload.h"

#include <algorithm>
#include <bit>

namespace qs {

uint64_t LogPayload::Bits(size_t at, size_t bytes) const {
    if (at > bytes_.size() || bytes > bytes_.size() - at) return 0;
    uint64_t v = 0;
    for (size_t i = 0; i < bytes; ++i) v = v << 8 | bytes_[at + i];
    return v;
}

uint16_t LogPayload::U16(size_t at) const { return static_cast<uint16_t>(Bits(at, 2)); }
uint32_t LogPayload::U32(size_t at) const { return static_cast<uint32_t>(Bits(at, 4)); }
float LogPayload::F32(size_t at) const { return std::bit_cast<float>(U32(at)); }
double LogPayload::F64(size_t at) const { return std::bit_cast<double>(Bits(at, 8)); }

std::string LogPayload::Text(size_t at, size_t size) const {
    if (at >= bytes_.size()) return {};
    const size_t end = at + std::min(size, bytes_.size() - at);
    std::string text;
    for (size_t i = at; i < end && bytes_[i] != 0; ++i) text.push_back(static_cast<char>(bytes_[i]));
    return text;
}

std::string LogPayload::TextToEnd(size_t at) const { return at >= bytes_.size() ? std::string() : Text(at, bytes_.size() - at); }

}  // namespace qs
