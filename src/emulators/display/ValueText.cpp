#include "emulators/display/ValueText.h"

#include <bit>
#include <cstring>

#include "platform/SafeFormat.h"

namespace qs::display {
namespace {

// The payload's first `n` bytes as a little-endian number (numbers are stored reversed, so
// the machine's order); the caller checks the length.
uint64_t LittleEndian(std::span<const uint8_t> p, size_t n) {
    uint64_t v = 0;
    for (size_t i = n; i-- > 0;) v = v << 8 | p[i];
    return v;
}

std::optional<FormatArg> ValueOf(uint8_t kind, std::span<const uint8_t> p) {
    switch (kind) {
    case 0: {
        const auto* text = reinterpret_cast<const char*>(p.data());
        return FormatArg::Text(std::string_view(text, strnlen(text, p.size())));
    }
    case 1:
        if (p.size() < 1) return std::nullopt;
        return FormatArg::Signed(static_cast<int8_t>(p[0]));
    case 2:
        if (p.size() < 2) return std::nullopt;
        return FormatArg::Signed(static_cast<int16_t>(LittleEndian(p, 2)));
    case 3:
        if (p.size() < 4) return std::nullopt;
        return FormatArg::Signed(static_cast<int32_t>(LittleEndian(p, 4)));
    case 4:
        if (p.size() < 4) return std::nullopt;
        return FormatArg::Real(std::bit_cast<float>(static_cast<uint32_t>(LittleEndian(p, 4))));
    case 5:
        if (p.size() < 8) return std::nullopt;
        return FormatArg::Real(std::bit_cast<double>(LittleEndian(p, 8)));
    default:
        return std::nullopt;
    }
}

// The format without its length modifiers, which the value's own type makes needless; false
// when it holds no conversion at all.
bool WithoutLengths(std::string_view format, std::string& out) {
    bool conversion = false;
    for (size_t i = 0; i < format.size(); ++i) {
        out += format[i];
        if (format[i] != '%') continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += format[++i];
            continue;
        }
        conversion = true;
        while (i + 1 < format.size() && std::strchr("-+ #0123456789.*", format[i + 1]) != nullptr) out += format[++i];
        for (int n = 0; n < 2 && i + 1 < format.size() && std::strchr("hlL", format[i + 1]) != nullptr; ++n) ++i;
    }
    return conversion;
}

}  // namespace

std::optional<std::string> ValueText::Print(uint8_t kind, std::string_view format, std::span<const uint8_t> payload) {
    format = format.substr(0, kFormatField - 1);
    format = format.substr(0, format.find('\0'));
    const std::optional<FormatArg> value = ValueOf(kind, payload);
    if (!value) return std::nullopt;
    std::string plain;
    std::optional<std::string> text;
    if (WithoutLengths(format, plain)) {
        text = SafeFormat(plain, *value);
    } else {
        text.emplace();
        for (size_t i = 0; i < format.size(); ++i) {
            *text += format[i];
            if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') ++i;
        }
    }
    if (text && text->size() > kMaxText) text->resize(kMaxText);
    return text;
}

}  // namespace qs::display
