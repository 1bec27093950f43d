#include "dictgen/DictSourceParser.h"

#include <charconv>
#include <cmath>

namespace qs::dictgen {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

bool ParseInt(std::string_view s, long long& out) {
    if (s.empty()) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}

// Decimal text to the nearest float32, as a C library's strtof would give it.
bool ParseFloat(std::string_view s, float& out) {
    if (s.empty()) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out, std::chars_format::general);
    return ec == std::errc() && p == s.data() + s.size() && std::isfinite(out);
}

std::vector<std::string> SplitWords(std::string_view s) {
    std::vector<std::string> words;
    std::string word;
    for (char c : s) {
        if (c == ',' || IsBlank(c)) {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

const char* const kCodeKeys[] = {"code", "name", "register", "instances", "flags", "min", "max", "format",
                                 "width", "precision", "help", "option", "default", "level"};

bool KnownKey(const std::string& key) {
    for (const char* k : kCodeKeys)
        if (key == k) return true;
    return false;
}

}  // namespace

DictSourceParser::DictSourceParser(std::string file, std::string directory)
    : file_(std::move(file)), directory_(std::move(directory)) {}

void DictSourceParser::Error(int line, std::string message, std::vector<Diagnostic>& errors) const {
    errors.push_back({file_, line, std::move(message)});
}

std::vector<DictEntry> DictSourceParser::Parse(std::string_view text, std::vector<Diagnostic>& errors) const {
    const bool codes = !directory_.empty();
    const std::string opener = codes ? "code" : "register";
    std::vector<DictEntry> out;
    DictEntry entry;
    bool inBlock = false;
    bool broken = false;  // a value of the current block could not be read

    int lineNo = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        size_t colon = line.find(':');
        if (colon == std::string::npos) {
            Error(lineNo, "expected \"key: value\", found \"" + line + "\"", errors);
            continue;
        }
        std::string key = Trim(std::string_view(line).substr(0, colon));
        std::string value = Trim(std::string_view(line).substr(colon + 1));
        if (!KnownKey(key) || (!codes && (key == "code" || key == "default" || key == "level"))) {
            Error(lineNo, "unknown key \"" + key + "\"", errors);
            continue;
        }
        if (key == opener) {
            if (inBlock) FinishBlock(entry, broken, out, errors);
            entry = DictEntry{};
            entry.file = file_;
            entry.line = lineNo;
            entry.isCode = codes;
            entry.directory = directory_;
            inBlock = true;
        } else if (!inBlock) {
            Error(lineNo, "\"" + key + "\" before the first \"" + opener + ":\" line", errors);
            continue;
        } else if (key != "option" && entry.keyLines.count(key)) {
            Error(lineNo, "\"" + key + "\" given twice in the block of line " + std::to_string(entry.line), errors);
            continue;
        }
        if (key == opener) broken = false;
        if (key != "option" || !entry.keyLines.count(key)) entry.keyLines[key] = lineNo;
        if (!ApplyKey(entry, key, value, lineNo, errors)) broken = true;
    }
    if (inBlock) FinishBlock(entry, broken, out, errors);
    return out;
}

bool DictSourceParser::ApplyKey(DictEntry& entry, const std::string& key, const std::string& value, int line,
                                std::vector<Diagnostic>& errors) const {
    auto integer = [&](long long& field) {
        if (ParseInt(value, field)) return true;
        Error(line, "\"" + key + "\" needs a whole number, found \"" + value + "\"", errors);
        return false;
    };
    auto real = [&](float& field) {
        if (ParseFloat(value, field)) return true;
        Error(line, "\"" + key + "\" needs a finite decimal number, found \"" + value + "\"", errors);
        return false;
    };

    if (key == "code") return integer(entry.number);
    if (key == "register") {
        std::vector<std::string> parts = SplitWords(value);
        long long v[3] = {0, 0, 0};
        bool ok = parts.size() == 3;
        for (size_t i = 0; ok && i < 3; ++i) ok = ParseInt(parts[i], v[i]);
        if (!ok) {
            Error(line, "\"register\" needs three whole numbers: dictionary directory, data type, position; found \"" +
                            value + "\"",
                  errors);
            return false;
        }
        entry.dictionary = v[0];
        entry.dataType = v[1];
        entry.position = v[2];
        return true;
    }
    if (key == "name") { entry.name = value; return true; }
    if (key == "help") { entry.help = value; return true; }
    if (key == "format") { entry.format = value; return true; }
    if (key == "option") {
        entry.options.push_back(value);
        entry.optionLines.push_back(line);
        return true;
    }
    if (key == "default") { entry.defaultValue = value; return true; }
    if (key == "instances") return integer(entry.instances);
    if (key == "width") return integer(entry.width);
    if (key == "precision") return integer(entry.precision);
    if (key == "min") return real(entry.min);
    if (key == "max") return real(entry.max);
    if (key == "level") {
        if (value == "none") {
            entry.level = kLevelNone;
            return true;
        }
        long long level = 0;
        if (ParseInt(value, level) && level >= 1 && level <= 5) {
            entry.level = static_cast<int>(level - 1);
            return true;
        }
        Error(line, "\"level\" must be 1 to 5 or none, found \"" + value + "\"", errors);
        return false;
    }
    if (key == "flags") {
        uint16_t flags = 0;
        for (const std::string& word : SplitWords(value)) {
            if (word == "none") continue;
            if (word == "option") flags |= kFlagOption;
            else if (word == "read-only") flags |= kFlagReadOnly;
            else if (word == "sequential") flags |= kFlagSequential;
            else if (word == "ratio") flags |= kFlagRatio;
            else if (word == "unloading") flags |= kFlagUnloading;
            else if (word == "hybrid") flags |= kFlagHybrid;
            else if (word == "blending") flags |= kFlagBlending;
            else {
                Error(line, "unknown flag \"" + word +
                                "\" (known: option, read-only, sequential, ratio, unloading, hybrid, blending)",
                      errors);
                return false;
            }
        }
        entry.flags = flags;
        return true;
    }
    return false;
}

void DictSourceParser::FinishBlock(DictEntry& entry, bool broken, std::vector<DictEntry>& out,
                                   std::vector<Diagnostic>& errors) const {
    static const char* const kRequired[] = {"name", "register", "instances", "min", "max", "format",
                                            "width", "precision", "help"};
    bool complete = true;
    std::string what = entry.isCode ? "code " + std::to_string(entry.number) : "register block";
    for (const char* key : kRequired) {
        if (!entry.keyLines.count(key)) {
            Error(entry.line, what + " has no \"" + key + "\"", errors);
            complete = false;
        }
    }
    if (entry.isCode) {
        for (const char* key : {"default", "level"}) {
            if (!entry.keyLines.count(key)) {
                Error(entry.line, what + " has no \"" + std::string(key) + "\"", errors);
                complete = false;
            }
        }
    }
    // A block with a fault of its own is left out, so it does not raise follow-up faults.
    if (complete && !broken) out.push_back(std::move(entry));
}

}  // namespace qs::dictgen
