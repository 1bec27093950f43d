#include "device/DictionaryCatalog.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "device/CommandProcessor.h"

namespace sim {
namespace {

constexpr size_t kMaxNumberText = 40;

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// An optional sign and digits of `base`; at most 12 digits, so any value fits the int64.
bool ParseInteger(std::string_view s, int base, int64_t& out) {
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    // Leading zeros of a zero-padded format do not count against the limit.
    while (s.size() > 1 && s[0] == '0') s.remove_prefix(1);
    if (s.empty() || s.size() > 12) return false;
    int64_t v = 0;
    for (char c : s) {
        const int d = DigitValue(c);
        if (d >= base) return false;
        v = v * base + d;
    }
    out = negative ? -v : v;
    return true;
}

// Optional sign, digits with an optional point (at least one digit), optional exponent.
bool ParseReal(std::string_view s, float& out) {
    if (s.empty() || s.size() > kMaxNumberText) return false;
    size_t i = 0;
    if (s[i] == '-' || s[i] == '+') ++i;
    size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
        const size_t start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
        if (i == start) return false;
    }
    if (i != s.size()) return false;
    const std::string text(s);
    out = std::strtof(text.c_str(), nullptr);
    return std::isfinite(out);
}

}  // namespace

const Definition* DictionaryCatalog::Find(std::string_view mnemonic, int number) const {
    const auto directory = Dictionary::FromMnemonic(mnemonic);
    if (!directory) return nullptr;
    return dictionary_->Code(directory->first, number);
}

std::optional<CodeValue> DictionaryCatalog::Default(std::string_view mnemonic, int number) const {
    const Definition* d = Find(mnemonic, number);
    if (!d) return std::nullopt;
    return CodeValue{d->defaultValue, d->level};
}

std::optional<int> DictionaryCatalog::RefuseWrite(std::string_view mnemonic, int number, std::string_view value) const {
    const Definition* d = Find(mnemonic, number);
    if (!d) return std::nullopt;
    if (d->Has(Definition::kReadOnly)) return CommandProcessor::kOperationNotAllowed;
    if (!Fits(*d, value)) return CommandProcessor::kValueOutOfRange;
    return std::nullopt;
}

bool DictionaryCatalog::Fits(const Definition& d, std::string_view value) {
    switch (d.dataType) {
    case 0:
        return value.size() <= static_cast<size_t>(d.exactMax);
    case 4:
    case 5: {
        float v = 0;
        return ParseReal(TrimBlanks(value), v) && v >= d.min && v <= d.max;
    }
    default: {
        const char conversion = d.format.empty() ? 'd' : d.format.back();
        const int base = conversion == 'x' || conversion == 'X' ? 16 : conversion == 'o' ? 8 : 10;
        int64_t v = 0;
        if (!ParseInteger(TrimBlanks(value), base, v)) return false;
        const double low = d.dataType == 8 ? 0.0 : -2147483648.0;
        const double high = d.dataType == 8 ? 4294967295.0 : 2147483647.0;
        const auto x = static_cast<double>(v);
        return x >= std::max(low, std::ceil(d.exactMin)) && x <= std::min(high, std::floor(d.exactMax));
    }
    }
}

}  // namespace sim
