#include "dictgen/DictValidator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <tuple>

#include "dictgen/DefinitionRecord.h"

namespace qs::dictgen {

namespace {

constexpr size_t kMaxName = DefinitionRecord::kNameSize - 1;
constexpr size_t kMaxHelp = DefinitionRecord::kHelpSize - 1;
constexpr size_t kMaxFormat = DefinitionRecord::kFormatSize - 1;
constexpr size_t kMaxOption = DefinitionRecord::kOptionSize - 1;
// A value travels in a 40-byte field of the clipboard and program-data records.
constexpr int kMaxTextLength = 39;
constexpr long long kMaxWidth = 40;
constexpr long long kMaxPrecision = 10;

bool IsReal(long long type) { return type == 4 || type == 5; }

bool Printable(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

std::string Where(const DictEntry& e) {
    if (e.isCode) return e.directory + " " + std::to_string(e.number);
    return "register " + std::to_string(e.dictionary) + " " + std::to_string(e.dataType) + " " +
           std::to_string(e.position);
}

std::string Num(float f) {
    char text[32];
    auto [p, ec] = std::to_chars(text, text + sizeof text, f);
    return std::string(text, ec == std::errc() ? p : text);
}

// Bounds of the number a value of this integer type is parsed into.
void IntegerBounds(long long type, double& low, double& high) {
    if (type == 8) {
        low = 0.0;
        high = 4294967296.0;  // the float nearest to 2^32 - 1
    } else if (type == 3) {
        low = -2147483648.0;
        high = 2147483648.0;  // the float nearest to 2^31 - 1
    } else {
        low = -1e9;
        high = 1e9;
    }
}

void CheckText(const DictEntry& e, const char* key, int line, const std::string& text, size_t limit, bool mayBeEmpty,
               std::vector<Diagnostic>& errors) {
    if (text.empty() && !mayBeEmpty) errors.push_back({e.file, line, Where(e) + ": \"" + key + "\" is empty"});
    if (text.size() > limit)
        errors.push_back({e.file, line,
                          Where(e) + ": \"" + key + "\" has " + std::to_string(text.size()) + " characters, at most " +
                              std::to_string(limit) + " fit"});
    if (!Printable(text))
        errors.push_back({e.file, line, Where(e) + ": \"" + key + "\" may hold only printable ASCII characters"});
}

void CheckDefault(const DictEntry& e, std::vector<Diagnostic>& errors) {
    const int line = e.LineOf("default");
    const std::string& v = e.defaultValue;
    auto fail = [&](const std::string& why) { errors.push_back({e.file, line, Where(e) + ": default " + why}); };
    if (e.dataType == 0) {
        if (v.size() > static_cast<size_t>(std::max(0.0f, e.max))) fail("\"" + v + "\" is longer than the maximum length");
        if (!Printable(v)) fail("may hold only printable ASCII characters");
        return;
    }
    if (IsReal(e.dataType)) {
        float f = 0.0f;
        auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), f, std::chars_format::general);
        if (v.empty() || ec != std::errc() || p != v.data() + v.size() || !std::isfinite(f)) {
            fail("\"" + v + "\" is not a decimal number");
            return;
        }
        if (f < e.min || f > e.max) fail(v + " lies outside " + Num(e.min) + " to " + Num(e.max));
        return;
    }
    long long n = 0;
    auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    if (v.empty() || ec != std::errc() || p != v.data() + v.size()) {
        fail("\"" + v + "\" is not a whole number");
        return;
    }
    if (static_cast<double>(n) < e.min || static_cast<double>(n) > e.max)
        fail(v + " lies outside " + Num(e.min) + " to " + Num(e.max));
}

}  // namespace

std::string DictValidator::CheckFormat(const std::string& format, int dataType) {
    if (format.size() > kMaxFormat) return "longer than " + std::to_string(kMaxFormat) + " characters";
    if (dataType == 0) return format == "%s" ? "" : "a text code's format must be %s";
    size_t i = 0;
    if (format.empty() || format[i++] != '%') return "must begin with %";
    std::string seen;
    while (i < format.size() && std::string("-+ #0").find(format[i]) != std::string::npos) {
        if (seen.find(format[i]) != std::string::npos) return "repeats a flag";
        seen += format[i++];
    }
    if (i >= format.size() || format[i++] != '*') return "needs the width as * after the flags";
    const bool real = IsReal(dataType);
    if (real) {
        if (i + 1 >= format.size() || format[i] != '.' || format[i + 1] != '*')
            return "a real code's format needs the precision as .* after the width";
        i += 2;
    }
    const bool needsLong = dataType == 3 || dataType == 8;
    if (needsLong) {
        if (i >= format.size() || format[i] != 'l') return "data types 3 and 8 need the modifier l";
        ++i;
    }
    if (i + 1 != format.size()) return "needs exactly one conversion letter at the end";
    const char conv = format[i];
    std::string allowed = real ? "feEgG" : dataType == 3 ? "di" : dataType == 8 ? "uxXo" : "diuxXo";
    if (allowed.find(conv) == std::string::npos)
        return std::string("conversion ") + conv + " does not fit data type " + std::to_string(dataType) +
               " (allowed: " + allowed + ")";
    return "";
}

void DictValidator::CheckEntry(const DictEntry& e, std::vector<Diagnostic>& errors) {
    auto error = [&](const char* key, const std::string& message) {
        errors.push_back({e.file, e.LineOf(key), Where(e) + ": " + message});
    };

    // Name: fixed field; a code's name begins with its number as the list shows it.
    CheckText(e, "name", e.LineOf("name"), e.name, kMaxName, false, errors);
    if (e.name.find('{') != std::string::npos)
        error("name", "\"{\" may not appear in a name (the device marks flags with it)");
    if (e.isCode) {
        const DirectoryInfo* dir = FindDirectory(e.directory);
        int digits = dir ? dir->nameDigits : 3;
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%0*lld ", digits, e.number);
        if (e.name.rfind(prefix, 0) != 0 || e.name.size() <= std::strlen(prefix) || e.name[std::strlen(prefix)] == ' ')
            error("name", "the name must begin with \"" + std::string(prefix) + "\" and a text");
    }
    CheckText(e, "help", e.LineOf("help"), e.help, kMaxHelp, false, errors);

    if (e.dictionary < 0 || e.dictionary >= kDictionaryDirectories)
        error("register", "dictionary directory " + std::to_string(e.dictionary) + " is not 0-38");
    if (e.dataType < 0 || e.dataType >= kDataTypes)
        error("register", "data type " + std::to_string(e.dataType) + " is not 0-9");
    if (e.position < 0 || e.position > 255)
        error("register", "position " + std::to_string(e.position) + " is not 0-255");
    if (e.instances < 0 || e.instances > 255)
        error("instances", "instances " + std::to_string(e.instances) + " is not 0-255");
    if (e.width < 0 || e.width > kMaxWidth) error("width", "width must be 0-" + std::to_string(kMaxWidth));
    if (e.precision < 0 || e.precision > kMaxPrecision)
        error("precision", "precision must be 0-" + std::to_string(kMaxPrecision));
    if (e.precision != 0 && !IsReal(e.dataType)) error("precision", "only real codes (data types 4, 5) have a precision");

    std::string why = CheckFormat(e.format, static_cast<int>(e.dataType));
    if (!why.empty()) error("format", "format \"" + e.format + "\" " + why);

    if (e.min > e.max) error("min", "min " + Num(e.min) + " is above max " + Num(e.max));

    const bool option = e.flags & kFlagOption;
    if (option != !e.options.empty())
        error(option ? "flags" : "option", option ? "the option flag needs \"option:\" lines"
                                                  : "\"option:\" lines need the option flag");
    if (!e.options.empty()) {
        if (e.dataType == 0 || IsReal(e.dataType))
            error("flags", "an option list needs an integer data type (1-3, 6-9)");
        if (e.options.size() > DefinitionRecord::kMaxOptions)
            error("option", "at most " + std::to_string(DefinitionRecord::kMaxOptions) + " options");
        if (e.min != 0.0f || e.max != static_cast<float>(e.options.size() - 1))
            error("max", "an option list has min 0 and max " + std::to_string(e.options.size() - 1) +
                             " (the index of its last option)");
        for (size_t i = 0; i < e.options.size(); ++i) {
            int line = i < e.optionLines.size() ? e.optionLines[i] : e.line;
            CheckText(e, "option", line, e.options[i], kMaxOption, false, errors);
        }
    }

    if (e.dataType == 0) {
        if (e.min != 0.0f) error("min", "a text code has min 0");
        if (e.max < 1.0f || e.max > kMaxTextLength || e.max != std::floor(e.max))
            error("max", "a text code's max is its length, a whole number 1-" + std::to_string(kMaxTextLength));
    } else if (!IsReal(e.dataType) && e.dataType >= 0 && e.dataType < kDataTypes) {
        double low = 0.0, high = 0.0;
        IntegerBounds(e.dataType, low, high);
        if (e.min < low || e.max > high)
            error("max", "the range " + Num(e.min) + " to " + Num(e.max) + " does not fit data type " +
                             std::to_string(e.dataType));
    }

    if (e.isCode) CheckDefault(e, errors);
}

void DictValidator::CheckDirectory(const DirectoryInfo& dir, const std::vector<const DictEntry*>& codes,
                                   std::vector<Diagnostic>& errors) {
    std::map<long long, const DictEntry*> byNumber;
    std::vector<std::pair<int, const DictEntry*>> walk;
    for (const DictEntry* e : codes) {
        auto [it, fresh] = byNumber.emplace(e->number, e);
        if (!fresh) {
            errors.push_back({e->file, e->LineOf("code"),
                              dir.name + " " + std::to_string(e->number) + " is defined twice (also at line " +
                                  std::to_string(it->second->line) + ")"});
            continue;
        }
        std::optional<int> key = e->number > 999 ? std::nullopt : dir.WalkKey(static_cast<int>(e->number));
        if (!key) {
            errors.push_back({e->file, e->LineOf("code"),
                              dir.name + " " + std::to_string(e->number) + ": the device walk of " + dir.name +
                                  (dir.walkDigits.size() == 1 ? " reaches only codes 0-99" : " reaches only codes 0-999")});
            continue;
        }
        walk.emplace_back(*key, e);
    }
    std::sort(walk.begin(), walk.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    // Follow the program's loader over the codes in file order and compare with its lookup.
    int current = dir.startsAtFirst ? 0 : 1;
    for (const auto& [key, e] : walk) {
        int number = static_cast<int>(e->number);
        int loaded = dir.LoadPlacement(number, current);
        std::optional<int> looked = dir.LookupPlacement(number);
        if (!looked || *looked != loaded) {
            auto label = [&](std::optional<int> i) {
                return i ? "subdirectory " + std::to_string(*i) + " \"" + dir.subdirectoryNames[static_cast<size_t>(*i)] + "\""
                         : std::string("no subdirectory");
            };
            errors.push_back({e->file, e->LineOf("code"),
                              dir.name + " " + std::to_string(number) + " would be listed under " + label(loaded) +
                                  " but looked up in " + label(looked) + "; choose another number"});
        }
    }
}

void DictValidator::CheckRegisters(const std::vector<const DictEntry*>& all, std::vector<Diagnostic>& errors) {
    using Key = std::tuple<long long, long long, long long>;
    std::map<Key, const DictEntry*> owner;
    std::map<std::pair<long long, long long>, std::map<long long, const DictEntry*>> groups;
    for (const DictEntry* e : all) {
        Key key{e->dictionary, e->dataType, e->position};
        auto [it, fresh] = owner.emplace(key, e);
        if (fresh) {
            groups[{e->dictionary, e->dataType}].emplace(e->position, e);
            continue;
        }
        const DictEntry* first = it->second;
        std::string here = "register " + std::to_string(e->dictionary) + " " + std::to_string(e->dataType) + " " +
                           std::to_string(e->position) + " is already defined at " + first->file + ":" +
                           std::to_string(first->line);
        if (!e->isCode || !first->isCode || e->directory == first->directory) {
            errors.push_back({e->file, e->LineOf("register"), here + " (only codes of different directories may share a register)"});
            continue;
        }
        uint16_t number = static_cast<uint16_t>(e->dataType * 100 + e->position);
        std::string a, b;
        DefinitionRecord::FromEntry(*first, number).AppendTo(a);
        DefinitionRecord::FromEntry(*e, number).AppendTo(b);
        if (a != b) errors.push_back({e->file, e->LineOf("register"), here + " with a different definition; codes that share a register must agree in every field"});
    }
    for (const auto& [group, positions] : groups) {
        long long expected = 0;
        for (const auto& [position, e] : positions) {
            if (position != expected) {
                errors.push_back({e->file, e->LineOf("register"),
                                  "dictionary directory " + std::to_string(group.first) + " data type " +
                                      std::to_string(group.second) + " has no position " + std::to_string(expected) +
                                      " before position " + std::to_string(position) +
                                      " (positions run from 0 without gaps)"});
                break;
            }
            ++expected;
        }
    }
}

}  // namespace qs::dictgen
