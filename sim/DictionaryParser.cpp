#include "DictionaryParser.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <vector>

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

struct Field {
    std::string value;
    int line = 0;
};

// The lines of one block as written, before they are understood.
struct Block {
    int line = 0;
    std::map<std::string, Field, std::less<>> keys;
    std::vector<Field> options;

    const Field* Get(std::string_view key) const {
        auto it = keys.find(key);
        return it == keys.end() ? nullptr : &it->second;
    }
};

// A fault found in a block; `line` 0 means the block's first line.
struct Fault {
    int line = 0;
    std::string what;
};

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

// The subdirectory the program looks a code up in.
int LookedUpIn(int type, int number) {
    int index = std::min(number / 100, SubdirectoryCount(type) - 1);
    while (index > 0 && !Named(type, index)) --index;
    if (type == Dictionary::kSystem && index == 0) return 8;
    return index;
}

// The subdirectory the program lists a code under when it loads the directory's codes in
// walk order: the current one advances while the next named one's hundreds lie below it.
int ListedIn(int type, int number) {
    int current = Dictionary::Kinds()[static_cast<size_t>(type)].startsAtFirst ? 0 : 1;
    for (int s = current + 1; s < SubdirectoryCount(type); ++s) {
        if (!Named(type, s)) continue;
        if (s * 100 >= number) break;
        current = s;
    }
    return current;
}

class BlockReader {
public:
    BlockReader(const Block& block, int type) : b_(block), type_(type) {}

    std::optional<Fault> Read(Definition& d) {
        const bool code = type_ != DictionaryParser::kRegistersFile;
        if (code && !Number(d)) return fault_;
        if (!Register(d) || !Name(d, code) || !Whole("instances", 0, 255, d.instances) || !Flags(d) ||
            !Range(d) || !Format(d) || !Whole("width", 0, 40, d.width) || !Precision(d) || !Help(d) || !Options(d)) {
            return fault_;
        }
        if (code && (!Default(d) || !Level(d))) return fault_;
        return std::nullopt;
    }

private:
    bool Fail(const Field* f, std::string what) {
        fault_ = Fault{f ? f->line : 0, std::move(what)};
        return false;
    }
    const Field* Need(std::string_view key) {
        const Field* f = b_.Get(key);
        if (!f) Fail(nullptr, "the block has no \"" + std::string(key) + ":\" line");
        return f;
    }
    template <typename T>
    bool Whole(std::string_view key, int low, int high, T& out) {
        const Field* f = Need(key);
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
        const int listed = ListedIn(type_, d.number);
        const int looked = LookedUpIn(type_, d.number);
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
        const Field* f = Need("register");
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
        const Field* f = Need("name");
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

    bool Text(const Field* f, const char* what, size_t longest) {
        if (f->value.empty() || f->value.size() > longest || !Printable(f->value)) {
            return Fail(f, std::string(what) + " must be 1-" + std::to_string(longest) + " printable ASCII characters");
        }
        return true;
    }

    bool Flags(Definition& d) {
        const Field* f = b_.Get("flags");
        if (f && !ParseFlags(f->value, d.flags)) {
            return Fail(f, "flags are words among option, read-only, sequential, ratio, unloading, hybrid, blending, none");
        }
        return true;
    }

    bool Range(Definition& d) {
        const Field* low = Need("min");
        if (!low) return false;
        const Field* high = Need("max");
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
        const Field* f = Need("format");
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
        const Field* f = Need("help");
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
        const Field* flags = b_.Get("flags");
        if (!IsIntegerType(d.dataType)) return Fail(flags, "an option list needs an integer data type (not 0, 4 or 5)");
        if (b_.options.empty()) return Fail(flags, "an option list needs option lines");
        if (static_cast<int>(b_.options.size()) > kMaxOptions) return Fail(&b_.options[kMaxOptions], "more than 255 options");
        if (d.exactMin != 0) return Fail(b_.Get("min"), "an option list's min must be 0");
        if (d.exactMax != static_cast<double>(b_.options.size() - 1)) {
            return Fail(b_.Get("max"), "an option list's max must be the number of options minus 1 (" +
                                           std::to_string(b_.options.size() - 1) + ")");
        }
        for (const Field& option : b_.options) {
            if (!Text(&option, "an option", kMaxOption)) return false;
            d.options.push_back(option.value);
        }
        return true;
    }

    bool Default(Definition& d) {
        const Field* f = Need("default");
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
        const Field* f = Need("level");
        if (!f) return false;
        if (f->value == "none") {
            d.level = Definition::kLevelNone;
            return true;
        }
        if (!ParseWhole(f->value, 1, 5, d.level)) return Fail(f, "level must be 1-5 or none");
        return true;
    }

    const Block& b_;
    int type_;
    Fault fault_;
};

// System's 0xx codes come last in its walk, so they are listed where its last code left the
// walk; they are looked up in "800-Additives", so that is where the walk must have arrived.
std::string CheckAdditives(const std::map<int, Definition>& codes) {
    if (codes.empty() || codes.begin()->first >= 100) return "";
    const int last = codes.rbegin()->first;
    const int listed = last < 100 ? 1 : ListedIn(Dictionary::kSystem, last);
    if (listed == 8) return "";
    const Definition& first = codes.begin()->second;
    return first.file + ":" + std::to_string(first.line) + ": code " + std::to_string(first.number) +
           " would be listed under subdirectory " + std::to_string(listed) +
           "00 but looked up in subdirectory 800 (System needs a code above 800 before its 0xx codes)";
}

std::optional<std::string> ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return path + ": cannot be read (the dictionary needs all nine files)";
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    if (size < 0 || static_cast<size_t>(size) > DictionaryParser::kMaxFileSize) return path + ": larger than 4 MiB";
    in.seekg(0);
    text.assign(static_cast<size_t>(size), '\0');
    in.read(text.data(), size);
    if (!in) return path + ": cannot be read";
    return std::nullopt;
}

}  // namespace

std::string DictionaryParser::Load(const std::string& folder, Dictionary& out) {
    auto parse = [&](const std::string& name, int type) -> std::string {
        const std::string path = folder + "/" + name + ".txt";
        std::string text;
        if (auto fault = ReadFile(path, text)) return *fault;
        return Parse(text, path, type, out);
    };
    for (const DirectoryKind& kind : Dictionary::Kinds()) {
        if (std::string fault = parse(kind.name, kind.type); !fault.empty()) return fault;
    }
    if (std::string fault = parse("Registers", kRegistersFile); !fault.empty()) return fault;
    return out.Index();
}

std::string DictionaryParser::Parse(std::string_view text, const std::string& where, int type, Dictionary& out) {
    const bool registers = type == kRegistersFile;
    const std::string opener = registers ? "register" : "code";
    static const std::set<std::string, std::less<>> codeKeys{"code",   "name",   "register", "instances", "flags",
                                                             "min",    "max",    "format",   "width",     "precision",
                                                             "help",   "option", "default",  "level"};
    auto at = [&](int line, const std::string& what) { return where + ":" + std::to_string(line) + ": " + what; };

    std::optional<Block> block;
    auto finish = [&]() -> std::string {
        if (!block) return "";
        Definition d;
        d.file = where;
        d.line = block->line;
        BlockReader reader(*block, type);
        if (std::optional<Fault> fault = reader.Read(d)) return at(fault->line ? fault->line : block->line, fault->what);
        if (registers) {
            out.AddRegister(std::move(d));
            return "";
        }
        return out.AddCode(type, std::move(d));
    };

    int lineNo = 0;
    while (!text.empty()) {
        ++lineNo;
        const size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        for (char c : line) {
            if ((c < 0x20 && c != '\t') || c > 0x7E) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
                return at(lineNo, std::string("character ") + hex + " is not printable ASCII");
            }
        }
        line = Trim(line);
        if (line.empty() || line.front() == '#') continue;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) return at(lineNo, "expected \"key: value\"");
        const std::string key(Trim(line.substr(0, colon)));
        const std::string value(Trim(line.substr(colon + 1)));
        if (!codeKeys.count(key)) return at(lineNo, "unknown key \"" + key + "\"");
        if (registers && (key == "code" || key == "default" || key == "level")) {
            return at(lineNo, "\"" + key + "\" does not belong in the registers file");
        }
        if (key == opener) {
            if (std::string fault = finish(); !fault.empty()) return fault;
            block.emplace();
            block->line = lineNo;
        } else if (!block) {
            return at(lineNo, "\"" + key + "\" before the first \"" + opener + ":\" line");
        }
        if (key == "option") {
            block->options.push_back({value, lineNo});
            continue;
        }
        auto [it, fresh] = block->keys.emplace(key, Field{value, lineNo});
        if (!fresh) return at(lineNo, "\"" + key + "\" is given twice in this block (first at line " +
                                          std::to_string(it->second.line) + ")");
    }
    if (std::string fault = finish(); !fault.empty()) return fault;
    return type == Dictionary::kSystem ? CheckAdditives(out.Codes(type)) : "";
}

}  // namespace sim
