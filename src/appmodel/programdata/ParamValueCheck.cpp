#include "appmodel/programdata/ParamValueCheck.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>

#include "platform/SafeFormat.h"
#include "platform/UiServices.h"
#include "programdata/CParam.h"

namespace qs {

namespace {

constexpr int kTimeDirectory = 12;
constexpr int kTimeNumber = 732;
// Values a dialog takes no matter what the code's range says: beyond them a number is no
// 32-bit float at all.
constexpr double kLowestValue = -1e38;
constexpr double kHighestValue = 1e39;

std::nullopt_t Refuse(const UiServices& ui, const std::string& message) {
    ui.Message(message, MB_OK | MB_ICONEXCLAMATION);
    return std::nullopt;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

constexpr uint64_t kIntegerTooLong = 100000000000000000ULL;  // 1e17

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Optional sign, then at least one digit; the value when it fits in 64 bits.
std::optional<int64_t> ParseInteger(std::string_view s, bool& overflow) {
    overflow = false;
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i >= s.size()) return std::nullopt;
    uint64_t magnitude = 0;
    for (; i < s.size(); ++i) {
        if (!IsDigit(s[i])) return std::nullopt;
        // Far beyond every range a code can have; the digits after it only need checking.
        if (magnitude >= kIntegerTooLong) overflow = true;
        else magnitude = magnitude * 10 + static_cast<uint64_t>(s[i] - '0');
    }
    if (overflow) return int64_t{0};
    return negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
}

// Optional sign, digits with at most one decimal point (at least one digit), then an optional
// exponent: what a person types as a number. strtod alone would also take "inf", "nan" and
// hexadecimal, and stop quietly at the first character it does not like.
bool IsDecimalNumber(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        const size_t start = i;
        while (i < s.size() && IsDigit(s[i])) ++i;
        if (i == start) return false;
    }
    return i == s.size();
}

std::string RealText(float value) {
    return SafeFormat("%.*g", FormatArg::Real(value), {FLT_DIG}).value_or(std::string());
}

bool IsIntegerType(const CParam& p) { return p.dataType != CParam::kTypeText && !p.IsRealType(); }

}  // namespace

std::optional<std::string> ParamValueCheck::CheckValue(const UiServices& ui, const CParam& param,
                                                       std::string_view text) {
    return param.dataType == CParam::kTypeText ? CheckText(ui, param, text) : CheckNumber(ui, param, text);
}

int ParamValueCheck::TextLimit(const CParam& param) {
    const float max = param.max;
    if (!(max > 0.0f)) return 0;  // also a NaN
    return static_cast<int>(std::min<double>(max, static_cast<double>(CParam::kMaxValueLength)));
}

std::optional<std::string> ParamValueCheck::CheckText(const UiServices& ui, const CParam& param,
                                                      std::string_view bytes) {
    if (HasControlCharacters(bytes)) return Refuse(ui, kControlCharacterMessage);
    const int limit = TextLimit(param);
    if (bytes.size() > static_cast<size_t>(limit))
        return Refuse(ui, "Enter no more than " + std::to_string(limit) + " characters.");
    std::string text(bytes);
    if (IsTimeCode(param) && !IsValidTimeString(text)) return Refuse(ui, kTimeMessage);
    return text;
}

std::optional<std::string> ParamValueCheck::CheckNumber(const UiServices& ui, const CParam& param,
                                                        std::string_view typed) {
    if (HasControlCharacters(typed)) return Refuse(ui, kControlCharacterMessage);
    std::string text(TrimBlanks(typed));
    if (const size_t comma = text.rfind(','); comma != std::string::npos) text[comma] = '.';

    if (IsIntegerType(param)) {
        bool overflow = false;
        const std::optional<int64_t> value = ParseInteger(text, overflow);
        if (!value) return Refuse(ui, kNotIntegerMessage);
        // The device keeps these codes as 32-bit integers, unsigned for data type 8.
        const bool isUnsigned = param.dataType == CParam::kTypeUnsigned;
        double low = isUnsigned ? 0.0 : static_cast<double>(INT32_MIN);
        double high = isUnsigned ? static_cast<double>(UINT32_MAX) : static_cast<double>(INT32_MAX);
        if (!std::isnan(param.min)) low = std::max(low, std::ceil(static_cast<double>(param.min)));
        if (!std::isnan(param.max)) high = std::min(high, std::floor(static_cast<double>(param.max)));
        if (overflow || static_cast<double>(*value) < low || static_cast<double>(*value) > high) {
            return Refuse(ui, "Please enter an integer between " + std::to_string(static_cast<int64_t>(low)) +
                                  " and " + std::to_string(static_cast<int64_t>(high)) + ".");
        }
        return std::to_string(*value);
    }

    if (!IsDecimalNumber(text)) return Refuse(ui, kNotNumberMessage);
    const double value = StrToDoubleC(text.c_str());
    if (!(value > kLowestValue && value < kHighestValue)) return Refuse(ui, kOutOfRangeMessage);
    // Compared as the device compares: as 32-bit floats.
    const bool fits = std::fabs(value) <= static_cast<double>(FLT_MAX) &&
                      (std::isnan(param.min) || static_cast<float>(value) >= param.min) &&
                      (std::isnan(param.max) || static_cast<float>(value) <= param.max);
    if (!fits)
        return Refuse(ui, "Please enter a number between " + RealText(param.min) + " and " + RealText(param.max) + ".");
    return text;
}

std::vector<std::string> ParamValueCheck::OptionEntries(const CParam& param) {
    std::vector<std::string> out;
    if (!param.HasOptionList()) return out;
    const int count = param.OptionCount();
    for (int i = 0; i < count; ++i) {
        const std::string number = SafeFormat("%0*d", FormatArg::Signed(i), {param.width}).value_or(std::to_string(i));
        out.push_back(number + " " + param.OptionText(i));
    }
    return out;
}

std::optional<std::string> ParamValueCheck::CheckOption(const UiServices& ui, const CParam& param, int row) {
    const std::vector<std::string> entries = OptionEntries(param);
    if (row < 0 || row >= static_cast<int>(entries.size())) return Refuse(ui, kNoOptionMessage);
    return entries[static_cast<size_t>(row)];
}

int ParamValueCheck::OptionRow(const CParam& param, std::string_view value) {
    value = TrimBlanks(value);
    size_t digits = 0;
    while (digits < value.size() && digits < 9 && IsDigit(value[digits])) ++digits;
    if (digits == 0 || (digits < value.size() && IsDigit(value[digits]))) return -1;
    const int row = std::stoi(std::string(value.substr(0, digits)));
    return param.HasOptionList() && row < param.OptionCount() ? row : -1;
}

bool ParamValueCheck::IsTimeCode(const CParam& param) {
    return param.dictDirectory == kTimeDirectory && param.number == kTimeNumber;
}

bool ParamValueCheck::IsValidTimeString(std::string& text) {
    if (text.size() != 6 || !IsDigit(text[0]) || !IsDigit(text[1]) || text[2] != ':' || !IsDigit(text[3]) ||
        !IsDigit(text[4]))
        return false;
    const char letter = static_cast<char>(text[5] & ~0x20);  // upper case
    if (letter != 'A' && letter != 'P' && letter != 'M') return false;
    const int hours = (text[0] - '0') * 10 + (text[1] - '0');
    const int minutes = (text[3] - '0') * 10 + (text[4] - '0');
    if (minutes > 59 || hours > (letter == 'M' ? 23 : 12)) return false;
    text[5] = letter;
    return true;
}

bool ParamValueCheck::HasControlCharacters(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

uint32_t ParamValueCheck::BitsOfValue(std::string_view value) {
    bool overflow = false;
    const std::optional<int64_t> v = ParseInteger(TrimBlanks(value), overflow);
    if (!v || overflow || *v < INT32_MIN || *v > static_cast<int64_t>(UINT32_MAX)) return 0;
    return static_cast<uint32_t>(*v);
}

std::string ParamValueCheck::ValueOfBits(uint32_t bits) { return std::to_string(bits); }

uint32_t ParamValueCheck::AddressOfValue(std::string_view value) {
    value = TrimBlanks(value);
    if (value.empty() || !std::all_of(value.begin(), value.end(), IsDigit)) return 0;
    bool overflow = false;
    const std::optional<int64_t> v = ParseInteger(value, overflow);
    if (!v || overflow || *v > static_cast<int64_t>(UINT32_MAX)) return 0;
    return static_cast<uint32_t>(*v);
}

std::string ParamValueCheck::ValueOfAddress(uint32_t address) { return std::to_string(address); }

}  // namespace qs
