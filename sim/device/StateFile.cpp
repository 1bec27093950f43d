#include "device/StateFile.h"

#include <fstream>
#include <sstream>

namespace sim {
namespace {

bool ParseNumber(std::string_view text, int low, int high, int& out) {
    if (text.empty() || text.size() > 3) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high) return false;
    out = v;
    return true;
}

// "[*]" or "[1,3,5]".
bool ParseSection(std::string_view line, const std::vector<int>& served, std::vector<int>& out) {
    if (line.size() < 3 || line.front() != '[' || line.back() != ']') return false;
    std::string_view inner = line.substr(1, line.size() - 2);
    if (inner == "*") {
        out = served;
        return true;
    }
    std::vector<int> list;
    while (true) {
        size_t comma = inner.find(',');
        std::string_view item = inner.substr(0, comma);
        while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
        int address = 0;
        if (!ParseNumber(item, 0, 99, address)) return false;
        list.push_back(address);
        if (comma == std::string_view::npos) break;
        inner.remove_prefix(comma + 1);
    }
    out = std::move(list);
    return true;
}

// Splits off the next blank-delimited word.
std::string_view Word(std::string_view& rest) {
    size_t blank = rest.find(' ');
    std::string_view word = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    return word;
}

}  // namespace

std::string StateFile::Load(const std::string& path, const std::vector<int>& served, ValueStore& store) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return path + ": cannot be read";
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    if (size < 0 || static_cast<size_t>(size) > kMaxFileSize) return path + ": larger than 16 MiB";
    in.seekg(0);
    std::string text(static_cast<size_t>(size), '\0');
    in.read(text.data(), size);
    if (!in) return path + ": cannot be read";
    return Parse(text, served, store, path);
}

std::string StateFile::Parse(std::string_view text, const std::vector<int>& served, ValueStore& store,
                             const std::string& where) {
    std::vector<int> addresses = served;
    int lineNo = 0;
    while (!text.empty()) {
        ++lineNo;
        size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        auto fault = [&](const std::string& what) { return where + ":" + std::to_string(lineNo) + ": " + what; };
        if (line.size() > kMaxLine) return fault("line longer than 4096 characters");
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            if (!ParseSection(line, served, addresses)) return fault("expected [*] or [addresses 0-99, comma-separated]");
            continue;
        }
        std::string_view rest = line;
        std::string_view mnemonic = Word(rest);
        std::string_view numberText = Word(rest);
        std::string_view levelText = Word(rest);
        if (mnemonic.size() != 2) return fault("the mnemonic must be 2 characters");
        int number = 0;
        if (!ParseNumber(numberText, 0, 999, number)) return fault("the code number must be 0-999");
        int level = ValueStore::kDefaultLevel;
        if (levelText != "-" && !ParseNumber(levelText, 1, 255, level)) {
            return fault("the security level must be 1-255 or -");
        }
        if (rest.size() > ValueStore::kMaxValue) return fault("value longer than 1024 characters");
        for (int address : addresses) store.Put(address, mnemonic, number, CodeValue{std::string(rest), level});
    }
    return "";
}

}  // namespace sim
