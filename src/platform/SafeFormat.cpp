#include "platform/SafeFormat.h"

#include <locale.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace qs {

namespace {

// Switches this thread to the C locale for the life of the object, so a desktop locale with a
// decimal comma never reaches a number sent to the device or written to a file.
class CLocaleScope {
public:
    CLocaleScope() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        if (c != static_cast<locale_t>(nullptr)) old_ = uselocale(c);
    }
    ~CLocaleScope() {
        if (old_ != static_cast<locale_t>(nullptr)) uselocale(old_);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t old_ = static_cast<locale_t>(nullptr);
};

struct Conversion {
    std::string flags;
    bool widthStar = false;
    int width = -1;          // -1: none
    bool hasPrecision = false;
    bool precisionStar = false;
    int precision = 0;
    char conv = 0;
};

bool IsIntegerConversion(char c) {
    return c == 'd' || c == 'i' || c == 'u' || c == 'x' || c == 'X' || c == 'o' || c == 'c';
}
bool IsRealConversion(char c) { return c == 'f' || c == 'e' || c == 'E' || c == 'g' || c == 'G'; }

bool KindMatches(FormatArg::Kind kind, char conv) {
    switch (kind) {
    case FormatArg::Kind::Signed:
    case FormatArg::Kind::Unsigned: return IsIntegerConversion(conv);
    case FormatArg::Kind::Real: return IsRealConversion(conv);
    case FormatArg::Kind::Text: return conv == 's';
    }
    return false;
}

// Digits of a width or precision, refused above the largest field we allow.
bool ParseNumber(std::string_view f, size_t& i, int& out) {
    out = 0;
    while (i < f.size() && f[i] >= '0' && f[i] <= '9') {
        out = out * 10 + (f[i] - '0');
        if (out > kSafeFormatMaxField) return false;
        ++i;
    }
    return true;
}

// Parses one conversion after its '%'; false for anything outside the accepted grammar.
bool ParseConversion(std::string_view f, size_t& i, Conversion& c) {
    while (i < f.size() && std::strchr("-+ #0", f[i]) != nullptr && f[i] != '\0') c.flags += f[i++];
    if (c.flags.size() > 16) return false;
    if (i < f.size() && f[i] == '*') {
        c.widthStar = true;
        ++i;
    } else if (i < f.size() && f[i] >= '0' && f[i] <= '9') {
        if (!ParseNumber(f, i, c.width)) return false;
    }
    if (i < f.size() && f[i] == '.') {
        ++i;
        c.hasPrecision = true;
        if (i < f.size() && f[i] == '*') {
            c.precisionStar = true;
            ++i;
        } else if (!ParseNumber(f, i, c.precision)) {
            return false;
        }
    }
    // One "l" before an integer conversion is how the dictionary writes its 32-bit codes. The
    // conversion is rebuilt for the value's own type below, so it needs no length of its own.
    bool longModifier = false;
    if (i < f.size() && f[i] == 'l') {
        longModifier = true;
        ++i;
    }
    if (i >= f.size()) return false;
    c.conv = f[i++];
    if (!IsIntegerConversion(c.conv) && !IsRealConversion(c.conv) && c.conv != 's') return false;
    if (longModifier && (!IsIntegerConversion(c.conv) || c.conv == 'c')) return false;
    // Flags whose meaning C leaves undefined for the conversion are refused, not guessed.
    const bool numeric = c.conv != 's' && c.conv != 'c';
    const bool alternate = IsRealConversion(c.conv) || c.conv == 'o' || c.conv == 'x' || c.conv == 'X';
    if (c.flags.find('0') != std::string::npos && !numeric) return false;
    if (c.flags.find('#') != std::string::npos && !alternate) return false;
    if (c.conv == 'c' && c.hasPrecision) return false;
    return true;
}

template <class T>
std::string Print(const std::string& spec, T value) {
    CLocaleScope c;
    char small[128];
    const int n = std::snprintf(small, sizeof small, spec.c_str(), value);
    if (n < 0) return {};
    if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
    std::vector<char> big(static_cast<size_t>(n) + 1);
    std::snprintf(big.data(), big.size(), spec.c_str(), value);
    return std::string(big.data(), static_cast<size_t>(n));
}

}  // namespace

std::optional<std::string> SafeFormat(std::string_view format, const FormatArg& value,
                                      std::initializer_list<int> stars) {
    std::string before, after;
    std::optional<Conversion> conversion;
    for (size_t i = 0; i < format.size();) {
        const char ch = format[i];
        if (ch == '\0') break;  // a C string ends here, whatever the field holds after it
        if (ch != '%') {
            (conversion ? after : before) += ch;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            (conversion ? after : before) += '%';
            i += 2;
            continue;
        }
        if (conversion) return std::nullopt;  // a second conversion
        ++i;
        Conversion c;
        if (!ParseConversion(format, i, c)) return std::nullopt;
        conversion = c;
    }
    if (!conversion || !KindMatches(value.GetKind(), conversion->conv)) return std::nullopt;

    Conversion c = *conversion;
    auto star = stars.begin();
    if (c.widthStar) {
        if (star == stars.end()) return std::nullopt;
        int w = *star++;
        if (w < 0) {  // as printf: a negative width is a left-justified one
            c.flags += '-';
            w = -w;
        }
        if (w > kSafeFormatMaxField) return std::nullopt;
        c.width = w;
    }
    if (c.precisionStar) {
        if (star == stars.end()) return std::nullopt;
        const int p = *star++;
        if (p > kSafeFormatMaxField) return std::nullopt;
        if (p < 0) c.hasPrecision = false;  // as printf: a negative precision is none
        else c.precision = p;
    }

    // The conversion is rebuilt from what was parsed, with the numbers written in, so only a
    // spec of our own making with the matching argument type ever reaches snprintf.
    std::string spec = "%" + c.flags;
    if (c.width >= 0) spec += std::to_string(c.width);
    if (c.hasPrecision) spec += "." + std::to_string(c.precision);
    spec += c.conv;

    std::string body;
    switch (value.GetKind()) {
    case FormatArg::Kind::Signed:
    case FormatArg::Kind::Unsigned: {
        const uint32_t bits = value.GetKind() == FormatArg::Kind::Signed
                                  ? static_cast<uint32_t>(value.SignedValue())
                                  : value.UnsignedValue();
        if (c.conv == 'd' || c.conv == 'i' || c.conv == 'c') body = Print(spec, static_cast<int>(bits));
        else body = Print(spec, static_cast<unsigned>(bits));
        break;
    }
    case FormatArg::Kind::Real: body = Print(spec, value.RealValue()); break;
    case FormatArg::Kind::Text: body = Print(spec, value.TextValue().c_str()); break;
    }
    std::string out = before + body + after;
    // The result is used as a C string: a %c of 0 ends it.
    if (const size_t nul = out.find('\0'); nul != std::string::npos) out.resize(nul);
    return out;
}

double StrToDoubleC(const char* text, char** end) {
    CLocaleScope c;
    return std::strtod(text, end);
}

}  // namespace qs
