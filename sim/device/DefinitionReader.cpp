#include "device/DefinitionReader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sim {
namespace {

constexpr size_t kMaxName = 41;
constexpr size_t kMaxHelp = 149;
constexpr size_t kMaxOption = 41;
constexpr size_t kMaxFormat = 9;
constexpr int kMaxOptions = 255;
constexpr int kMaxTextLength = 39;
constexpr double kIntMin = -2147483648.0;
constexpr double kIntMax = 2147483647.0;
constexpr double kUnsignedMax = 4294967295.0;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool Printable(std::string_view s) {
    for (char c : s) {
        if (c < 0x20 || c > 0x7E) return false;
    }
    return true;
}

bool IsDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// A whole number of at most nine digits within low..high.
bool ParseWhole(std::string_view s, int low, int high, int& out) {
    if (!IsDigits(s) || s.size() > 9) return false;
    int v = 0;
    for (char c : s) v = v * 10 + (c - '0');
    if (v < low || v > high) return false;
    out = v;
    return true;
}

// The files' number: optional '-', digits, optional '.' and digits, optional 'e' and an
// exponent (which may carry a sign). Gives the exact value and the nearest float.
bool ParseNumber(std::string_view s, double& exact, float& rounded) {
    size_t i = 0;
    auto digits = [&] {
        const size_t start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
        return i > start;
    };
    if (i < s.size() && s[i] == '-') ++i;
    if (!digits()) return false;
    if (i < s.size() && s[i] == '.') {
        ++i;
        if (!digits()) return false;
    }
    if (i < s.size() && s[i] == 'e') {
        ++i;
        if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
        if (!digits()) return false;
    }
    if (i != s.size() || s.size() > 40) return false;
    const std::string text(s);
    errno = 0;
    rounded = std::strtof(text.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(rounded)) return false;
    exact = std::strtod(text.c_str(), nullptr);
    return std::isfinite(exact);
}

bool IsIntegerType(int type) { return type != 0 && type != 4 && type != 5; }

// The range a data type's values are parsed into on the program's side.
void ParseRange(int type, double& low, double& high) {
    low = type == 8 ? 0 : kIntMin;
    high = type == 8 ? kUnsignedMax : kIntMax;
}

// The printf format rules of each data type.
std::string CheckFormat(std::string_view f, int type) {
    if (f.size() > kMaxFormat) return "the format is longer than 9 characters";
    if (type == 0) return f == "%s" ? "" : "a text code's format must be %s";
    size_t i = 0;
    if (f.empty() || f[i++] != '%') return "the format must begin with %";
    std::string seen;
    while (i < f.size() && std::string_view("-+ #0").find(f[i]) != std::string_view::npos) {
        if (seen.find(f[i]) != std::string::npos) return "a format flag is repeated";
        seen.push_back(f[i++]);
    }
    if (i >= f.size() || f[i++] != '*') return "the format must take its width from the width field (%*...)";
    const bool real = type == 4 || type == 5;
    if (real) {
        if (f.substr(i, 2) != ".*") return "a real format must take its precision from the precision field (.*)";
        i += 2;
    }
    const bool longType = type == 3 || type == 8;
    if (longType) {
        if (i >= f.size() || f[i++] != 'l') return "data types 3 and 8 need the l length modifier";
    }
    if (i + 1 != f.size()) return "the format must end in one conversion character";
    const char c = f[i];
    std::string_view allowed = real ? "feEgG" : type == 3 ? "di" : type == 8 ? "uxXo" : "diuxXo";
    if (allowed.find(c) == std::string_view::npos) {
        return std::string("conversion ") + c + " does not fit data type " + std::to_string(type);
    }
    return "";
}

bool ParseFlags(std::string_view text, uint16_t& flags) {
    static const std::map<std::string, uint16_t, std::less<>> words{
        {"option", Definition::kOption},       {"read-only", Definition::kReadOnly},
        {"sequential", Definition::kSequential}, {"ratio", Definition::kRatio},
        {"unloading", Definition::kUnloading}, {"hybrid", Definition::kHybrid},
        {"blending", Definition::kBlending},   {"none", 0}};
    flags = 0;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (IsBlank(text[i]) || text[i] == ',')) ++i;
        const size_t start = i;
        while (i < text.size() && !IsBlank(text[i]) && text[i] != ',') ++i;
        if (i == start) break;
        auto it = words.find(text.substr(start, i - start));
        if (it == words.end()) return false;
        flags |= it->second;
    }
    return true;
}

// Subdirectories with a name: Config 0-3, 5 and 9 of 10; the other tables 0-8 of 11.
bool Named(int type, int index) { return type == 0 ? (index <= 3 || index == 5 || index == 9) : index <= 8; }
int SubdirectoryCount(int type) { return type == 0 ? 10 : 11; }

}  // namespace

int DefinitionReader::LookedUpIn(int type, int number) {
    int index = std::min(number / 100, SubdirectoryCount(type) - 1);
    while (index > 0 && !Named(type, index)) --index;
    if (type == Dictionary::kSystem && index == 0) return 8;
    return index;
}

// Loading in walk order, the current subdirectory advances while the next named one's hundreds
// lie below the code's number.
int DefinitionReader::ListedIn(int type, int number) {
    int current = Dictionary::Kinds()[static_cast<size_t>(type)].startsAtFirst ? 0 : 1;
    for (int s = current + 1; s < SubdirectoryCount(type); ++s) {
        if (!Named(type, s)) continue;
        if (s * 100 >= number) break;
        current = s;
    }
    return current;
}

namespace {

class BlockReader {
public:
    BlockReader(const DefinitionBlock& block, int type) : b_(block), type_(type) {}

    std::optional<DefinitionFault> Read(Definition& d) {
        const bool code = type_ != DefinitionReader::kRegister;
        if (code && !Number(d)) return fault_;
        if (!Register(d) || !Name(d, code) || !Whole("instances", 0, 255, d.instances) || !Flags(d) ||
            !Range(d) || !Format(d) || !Whole("width", 0, 40, d.width) || !Precision(d) || !Help(d) || !Options(d)) {
            return fault_;
        }
        if (code && (!Default(d) || !Level(d))) return fault_;
        return std::nullopt;
    }

private:
    bool Fail(const DefinitionBlock::Field* f, std::string what) {
        fault_ = DefinitionFault{f ? f->line : 0, std::move(what)};
        return false;
    }
    const DefinitionBlock::Field* Need(std::string_view key) {
        const DefinitionBlock::Field* f = b_.Get(key);
        if (!f) Fail(nullptr, "the block has no \"" + std::string(key) + ":\" line");
        return f;
    }
    template <typename T>
    bool Whole(std::string_view key, int low, int high, T& out) {
        const DefinitionBlock::Field* f = Need(key);
        if (!f) return false;
        int v = 0;
        if (!ParseWhole(f->value, low, high, v)) {
            return Fail(f, std::string(key) + " must be a whole number " + std::to_string(low) + "-" +
                               std::to_string(high));
        }
        out = static_cast<T>(v);
        return true;
    }

    bool Number(Definition& d) {
        const int high = type_ == Dictionary::kRecipe ? 99 : 999;
        if (!Whole("code", 0, high, d.number)) return false;
        if (type_ == Dictionary::kRecipe) return true;
        const int listed = DefinitionReader::ListedIn(type_, d.number);
        const int looked = DefinitionReader::LookedUpIn(type_, d.number);
        // System's 0xx codes come last in its walk: they are listed where the 9xx codes end.
        if (type_ == Dictionary::kSystem && d.number < 100) return true;
        if (listed != looked) {
            return Fail(b_.Get("code"), "code " + std::to_string(d.number) + " would be listed under subdirectory " +
                                            std::to_string(listed) + "00 but looked up in subdirectory " +
                                            std::to_string(looked) + "00");
        }
        return true;
    }

    bool Register(Definition& d) {
        const DefinitionBlock::Field* f = Need("register");
        if (!f) return false;
        std::vector<std::string_view> parts;
        std::string_view rest = f->value;
        while (!(rest = Trim(rest)).empty()) {
            size_t end = 0;
            while (end < rest.size() && !IsBlank(rest[end])) ++end;
            parts.push_back(rest.substr(0, end));
            rest.remove_prefix(end);
        }
        int directory = 0, type = 0, position = 0;
        if (parts.size() != 3 || !ParseWhole(parts[0], 0, 38, directory) || !ParseWhole(parts[1], 0, 9, type) ||
            !ParseWhole(parts[2], 0, 255, position)) {
            return Fail(f, "register must be three numbers: dictionary directory 0-38, data type 0-9, position 0-255");
        }
        d.directory = static_cast<uint8_t>(directory);
        d.dataType = static_cast<uint8_t>(type);
        d.position = static_cast<uint8_t>(position);
        return true;
    }

    bool Name(Definition& d, bool code) {
        const DefinitionBlock::Field* f = Need("name");
        if (!f) return false;
        if (!Text(f, "name", kMaxName)) return false;
        if (f->value.find('{') != std::string::npos) return Fail(f, "a name may not hold {");
        if (code) {
            char prefix[8];
            std::snprintf(prefix, sizeof prefix, type_ == Dictionary::kRecipe ? "%02d " : "%03d ", d.number);
            if (f->value.rfind(prefix, 0) != 0) {
                return Fail(f, std::string("the name must begin with the code number as listed, \"") + prefix + "\"");
            }
        }
        d.name = f->value;
        return true;
    }

    bool Text(const DefinitionBlock::Field* f, const char* what, size_t longest) {
        if (f->value.empty() || f->value.size() > longest || !Printable(f->value)) {
            return Fail(f, std::string(what) + " must be 1-" + std::to_string(longest) + " printable ASCII characters");
        }
        return true;
    }

    bool Flags(Definition& d) {
        const DefinitionBlock::Field* f = b_.Get("flags");
        if (f && !ParseFlags(f->value, d.flags)) {
            return Fail(f, "flags are words among option, read-only, sequential, ratio, unloading, hybrid, blending, none");
        }
        return true;
    }

    bool Range(Definition& d) {
        const DefinitionBlock::Field* low = Need("min");
        if (!low) return false;
        const DefinitionBlock::Field* high = Need("max");
        if (!high) return false;
        if (!ParseNumber(low->value, d.exactMin, d.min)) return Fail(low, "min is not a number of the form -12.5e3 that fits a float");
        if (!ParseNumber(high->value, d.exactMax, d.max)) return Fail(high, "max is not a number of the form -12.5e3 that fits a float");
        if (d.exactMin > d.exactMax) return Fail(high, "max lies below min");
        if (d.dataType == 0) {
            if (d.exactMin != 0) return Fail(low, "a text code's min must be 0");
            if (d.exactMax != std::floor(d.exactMax) || d.exactMax < 1 || d.exactMax > kMaxTextLength) {
                return Fail(high, "a text code's max is its length, a whole number 1-39");
            }
        } else if (IsIntegerType(d.dataType)) {
            double a = 0, b = 0;
            ParseRange(d.dataType, a, b);
            if (d.exactMin < a) return Fail(low, "min is below what data type " + std::to_string(d.dataType) + " holds");
            if (d.exactMax > b) return Fail(high, "max is above what data type " + std::to_string(d.dataType) + " holds");
        }
        return true;
    }

    bool Format(Definition& d) {
        const DefinitionBlock::Field* f = Need("format");
        if (!f) return false;
        if (std::string why = CheckFormat(f->value, d.dataType); !why.empty()) return Fail(f, why);
        d.format = f->value;
        return true;
    }

    bool Precision(Definition& d) {
        if (!Whole("precision", 0, 10, d.precision)) return false;
        if (d.precision != 0 && d.dataType != 4 && d.dataType != 5) {
            return Fail(b_.Get("precision"), "precision must be 0 unless the data type is 4 or 5");
        }
        return true;
    }

    bool Help(Definition& d) {
        const DefinitionBlock::Field* f = Need("help");
        if (!f || !Text(f, "help", kMaxHelp)) return false;
        d.help = f->value;
        return true;
    }

    bool Options(Definition& d) {
        const bool list = d.Has(Definition::kOption);
        if (!list) {
            if (!b_.options.empty()) return Fail(&b_.options.front(), "option lines need the option flag");
            return true;
        }
        const DefinitionBlock::Field* flags = b_.Get("flags");
        if (!IsIntegerType(d.dataType)) return Fail(flags, "an option list needs an integer data type (not 0, 4 or 5)");
        if (b_.options.empty()) return Fail(flags, "an option list needs option lines");
        if (static_cast<int>(b_.options.size()) > kMaxOptions) return Fail(&b_.options[kMaxOptions], "more than 255 options");
        if (d.exactMin != 0) return Fail(b_.Get("min"), "an option list's min must be 0");
        if (d.exactMax != static_cast<double>(b_.options.size() - 1)) {
            return Fail(b_.Get("max"), "an option list's max must be the number of options minus 1 (" +
                                           std::to_string(b_.options.size() - 1) + ")");
        }
        for (const DefinitionBlock::Field& option : b_.options) {
            if (!Text(&option, "an option", kMaxOption)) return false;
            d.options.push_back(option.value);
        }
        return true;
    }

    bool Default(Definition& d) {
        const DefinitionBlock::Field* f = Need("default");
        if (!f) return false;
        const std::string& v = f->value;
        if (d.dataType == 0) {
            if (v.size() > static_cast<size_t>(d.exactMax) || !Printable(v)) {
                return Fail(f, "the default text is longer than max or not printable");
            }
        } else if (IsIntegerType(d.dataType)) {
            const bool negative = !v.empty() && v[0] == '-';
            const std::string_view digits = std::string_view(v).substr(negative ? 1 : 0);
            if (!IsDigits(digits) || digits.size() > 10) return Fail(f, "the default must be a whole decimal number");
            const double value = (negative ? -1 : 1) * std::strtod(std::string(digits).c_str(), nullptr);
            if (value < d.exactMin || value > d.exactMax) return Fail(f, "the default lies outside min..max");
        } else {
            double exact = 0;
            float rounded = 0;
            if (!ParseNumber(v, exact, rounded)) return Fail(f, "the default must be a number of the form -12.5e3");
            if (rounded < d.min || rounded > d.max) return Fail(f, "the default lies outside min..max");
        }
        d.defaultValue = v;
        return true;
    }

    bool Level(Definition& d) {
        const DefinitionBlock::Field* f = Need("level");
        if (!f) return false;
        if (f->value == "none") {
            d.level = Definition::kLevelNone;
            return true;
        }
        if (!ParseWhole(f->value, 1, 5, d.level)) return Fail(f, "level must be 1-5 or none");
        return true;
    }

    const DefinitionBlock& b_;
    int type_;
    DefinitionFault fault_;
};

}  // namespace

std::optional<DefinitionFault> DefinitionReader::Read(const DefinitionBlock& block, int type, Definition& out) {
    return BlockReader(block, type).Read(out);
}

}  // namespace sim
