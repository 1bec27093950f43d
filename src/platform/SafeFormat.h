#pragma once
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

// The one value a checked format is applied to.
class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Real, Text };

    static FormatArg Signed(int32_t v) { FormatArg a(Kind::Signed); a.i_ = v; return a; }
    static FormatArg Unsigned(uint32_t v) { FormatArg a(Kind::Unsigned); a.u_ = v; return a; }
    static FormatArg Real(double v) { FormatArg a(Kind::Real); a.d_ = v; return a; }
    static FormatArg Text(std::string_view v) { FormatArg a(Kind::Text); a.s_ = std::string(v); return a; }

    Kind GetKind() const { return kind_; }
    int32_t SignedValue() const { return i_; }
    uint32_t UnsignedValue() const { return u_; }
    double RealValue() const { return d_; }
    const std::string& TextValue() const { return s_; }

private:
    explicit FormatArg(Kind k) : kind_(k) {}
    Kind kind_;
    int32_t i_ = 0;
    uint32_t u_ = 0;
    double d_ = 0.0;
    std::string s_;
};

// Applies a printf format that came from a file or from the device, which must never reach
// printf unchecked. The format is accepted only when it holds exactly one conversion: flags
// (-, +, blank, and # or 0 only where C defines them), an optional width and precision (digits
// up to kMaxField, or "*"), no length modifier but an "l" before an integer conversion, and a conversion of the value's kind: d i u x
// X o c for integers, f e E g G for reals, s for text. Literal text and "%%" may surround it.
// Each "*" takes the next of `stars` (a format asking for more than are given is refused;
// the ones it does not ask for are not passed). Numbers come out in the C locale. Anything
// else gives nullopt, and the caller shows its stored text unchanged.
std::optional<std::string> SafeFormat(std::string_view format, const FormatArg& value,
                                      std::initializer_list<int> stars = {});

// Largest field width or precision accepted, literal or from a "*".
inline constexpr int kSafeFormatMaxField = 255;

// strtod in the C locale, whatever the process locale says (a decimal point, never a comma).
double StrToDoubleC(const char* text, char** end = nullptr);

}  // namespace qs
