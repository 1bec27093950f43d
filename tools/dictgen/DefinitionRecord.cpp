#include "dictgen/DefinitionRecord.h"

#include <cmath>
#include <cstring>

namespace qs::dictgen {

namespace {

void PutU16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void PutFloat(std::string& out, float f) {
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    for (int i = 0; i < 4; ++i) out += static_cast<char>((bits >> (8 * i)) & 0xFF);
}

void PutText(std::string& out, const std::string& text, size_t field) {
    size_t n = std::min(text.size(), field - 1);
    out.append(text, 0, n);
    out.append(field - n, '\0');
}

uint16_t GetU16(std::string_view d, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(d[at]) | (static_cast<uint8_t>(d[at + 1]) << 8));
}

float GetFloat(std::string_view d, size_t at) {
    uint32_t bits = 0;
    for (size_t i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(static_cast<uint8_t>(d[at + i])) << (8 * i);
    float f = 0.0f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::string GetText(std::string_view d, size_t at, size_t field) {
    std::string_view s = d.substr(at, field);
    size_t nul = s.find('\0');
    return std::string(nul == std::string_view::npos ? s : s.substr(0, nul));
}

}  // namespace

DefinitionRecord DefinitionRecord::FromEntry(const DictEntry& e, uint16_t number) {
    DefinitionRecord r;
    r.number = number;
    r.flags = e.flags;
    r.dataType = static_cast<uint8_t>(e.dataType);
    r.dictionary = static_cast<uint8_t>(e.dictionary);
    r.position = static_cast<uint8_t>(e.position);
    r.instances = static_cast<uint8_t>(e.instances);
    r.min = e.min;
    r.max = e.max;
    r.format = e.format;
    r.width = static_cast<uint8_t>(e.width);
    r.precision = static_cast<uint8_t>(e.precision);
    r.name = e.name;
    r.help = e.help;
    r.options = e.options;
    return r;
}

size_t DefinitionRecord::OptionCount(uint16_t flags, float max) {
    // (int)max + 1, held to 0-255 as every reader of these files holds it.
    if (!(flags & kFlagOption) || std::isnan(max) || max <= -1.0f) return 0;
    if (max >= static_cast<float>(kMaxOptions - 1)) return kMaxOptions;
    return static_cast<size_t>(static_cast<int>(max)) + 1;
}

void DefinitionRecord::AppendTo(std::string& out) const {
    PutU16(out, number);
    PutU16(out, flags);
    out += static_cast<char>(dataType);
    out += static_cast<char>(dictionary);
    out += static_cast<char>(position);
    out += static_cast<char>(instances);
    PutFloat(out, min);
    PutFloat(out, max);
    PutText(out, format, kFormatSize);
    out += static_cast<char>(width);
    out += static_cast<char>(precision);
    PutText(out, name, kNameSize);
    PutText(out, help, kHelpSize);
    const size_t count = OptionCount(flags, max);
    for (size_t i = 0; i < count; ++i) PutText(out, i < options.size() ? options[i] : std::string(), kOptionSize);
}

std::optional<DefinitionRecord> DefinitionRecord::Read(std::string_view d, size_t& offset) {
    if (offset > d.size() || d.size() - offset < kSize) return std::nullopt;
    const size_t at = offset;
    DefinitionRecord r;
    r.number = GetU16(d, at + kNumber);
    r.flags = GetU16(d, at + kFlags);
    r.dataType = static_cast<uint8_t>(d[at + kDataType]);
    r.dictionary = static_cast<uint8_t>(d[at + kDictionary]);
    r.position = static_cast<uint8_t>(d[at + kPosition]);
    r.instances = static_cast<uint8_t>(d[at + kInstances]);
    r.min = GetFloat(d, at + kMin);
    r.max = GetFloat(d, at + kMax);
    r.format = GetText(d, at + kFormat, kFormatSize);
    r.width = static_cast<uint8_t>(d[at + kWidth]);
    r.precision = static_cast<uint8_t>(d[at + kPrecision]);
    r.name = GetText(d, at + kName, kNameSize);
    r.help = GetText(d, at + kHelp, kHelpSize);
    const size_t count = OptionCount(r.flags, r.max);
    if ((d.size() - at - kSize) / kOptionSize < count) return std::nullopt;
    for (size_t i = 0; i < count; ++i) r.options.push_back(GetText(d, at + kSize + i * kOptionSize, kOptionSize));
    offset = at + kSize + count * kOptionSize;
    return r;
}

}  // namespace qs::dictgen
