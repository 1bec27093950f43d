#include "sidedocs/translations/TranslationPayload.h"

#include <algorithm>
#include <cstring>

#include "sidedocs/translations/DeviceLiterals.h"

namespace qs {

std::array<uint8_t, TranslationPayload::kHeaderBytes> TranslationPayload::Header(std::string_view name,
                                                                                 int characterSet) {
    std::array<uint8_t, kHeaderBytes> header{};
    const std::string_view shown = name.substr(0, std::min({name.size(), kNameBytes, name.find('\0')}));
    std::memcpy(header.data(), shown.data(), shown.size());
    const auto set = static_cast<uint16_t>(characterSet);
    header[kCharsetOffset] = static_cast<uint8_t>(set >> 8);
    header[kCharsetOffset + 1] = static_cast<uint8_t>(set & 0xFF);
    return header;
}

std::vector<std::string> TranslationPayload::Items(const std::vector<std::string>& texts) {
    std::vector<std::string> items;
    items.reserve(DeviceLiterals::kLiteralCount);
    for (size_t i = 0; i < DeviceLiterals::kLiteralCount; ++i) {
        std::string item = i < texts.size() ? texts[i] : std::string();
        item.push_back('\0');
        items.push_back(std::move(item));
    }
    return items;
}

uint64_t TranslationPayload::PayloadBytes(const std::vector<std::string>& texts) {
    uint64_t total = kHeaderBytes;
    for (size_t i = 0; i < DeviceLiterals::kLiteralCount; ++i) total += (i < texts.size() ? texts[i].size() : 0) + 1;
    return total;
}

std::optional<TranslationPayload::Parsed> TranslationPayload::Parse(std::span<const uint8_t> data) {
    if (data.size() < kHeaderBytes) return std::nullopt;
    Parsed parsed;
    const auto* bytes = reinterpret_cast<const char*>(data.data());
    // Bytes 29-31 are never part of the name, whether or not byte 29 is the NUL it should be.
    parsed.name.assign(bytes, strnlen(bytes, kNameBytes));
    parsed.characterSet = data[kCharsetOffset] << 8 | data[kCharsetOffset + 1];
    parsed.texts.resize(DeviceLiterals::kLiteralCount);
    size_t at = kHeaderBytes;
    for (size_t i = 0; i < parsed.texts.size() && at < data.size(); ++i) {
        const size_t length = strnlen(bytes + at, data.size() - at);
        parsed.texts[i].assign(bytes + at, length);
        at += length + 1;
    }
    return parsed;
}

}  // namespace qs
