#include "device/DictionaryParser.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <set>

#include "device/DefinitionReader.h"

namespace sim {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// System's 0xx codes come last in its walk, so they are listed where its last code left the
// walk; they are looked up in "800-Additives", so that is where the walk must have arrived.
std::string CheckAdditives(const std::map<int, Definition>& codes) {
    if (codes.empty() || codes.begin()->first >= 100) return "";
    const int last = codes.rbegin()->first;
    const int listed = last < 100 ? 1 : DefinitionReader::ListedIn(Dictionary::kSystem, last);
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

    std::optional<DefinitionBlock> block;
    auto finish = [&]() -> std::string {
        if (!block) return "";
        Definition d;
        d.file = where;
        d.line = block->line;
        if (std::optional<DefinitionFault> fault = DefinitionReader::Read(*block, type, d)) {
            return at(fault->line ? fault->line : block->line, fault->what);
        }
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
        auto [it, fresh] = block->keys.emplace(key, DefinitionBlock::Field{value, lineNo});
        if (!fresh) return at(lineNo, "\"" + key + "\" is given twice in this block (first at line " +
                                          std::to_string(it->second.line) + ")");
    }
    if (std::string fault = finish(); !fault.empty()) return fault;
    return type == Dictionary::kSystem ? CheckAdditives(out.Codes(type)) : "";
}

}  // namespace sim
