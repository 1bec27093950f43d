#include "platform/IniProfile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/AtomicFile.h"

namespace qs {

namespace {

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The lines of the file up to the bound; `cut` tells whether there was more.
std::vector<std::string> ReadLines(const std::string& path, bool* cut = nullptr) {
    std::vector<std::string> lines;
    if (cut) *cut = false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return lines;
    // Read up to the bound in pieces, so a small file costs a small buffer.
    std::string content;
    char chunk[16384];
    while (content.size() < IniProfile::kMaxFileBytes && in) {
        const size_t want = std::min(sizeof chunk, IniProfile::kMaxFileBytes - content.size());
        in.read(chunk, static_cast<std::streamsize>(want));
        content.append(chunk, static_cast<size_t>(in.gcount()));
    }
    if (cut && in && in.peek() != std::char_traits<char>::eof()) *cut = true;
    std::string line;
    std::istringstream ss(content);
    while (std::getline(ss, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// "[name]" -> name; anything else nullopt.
std::optional<std::string> SectionOf(const std::string& line) {
    std::string t = Trim(line);
    if (t.size() >= 2 && t.front() == '[') {
        size_t close = t.find(']');
        if (close != std::string::npos) return Trim(t.substr(1, close - 1));
    }
    return std::nullopt;
}

// "key=value" -> key; comments and other lines nullopt.
std::optional<std::string> KeyOf(const std::string& line, std::string* value) {
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#') return std::nullopt;
    size_t eq = t.find('=');
    if (eq == std::string::npos) return std::nullopt;
    if (value) {
        std::string v = Trim(t.substr(eq + 1));
        if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\'')))
            v = v.substr(1, v.size() - 2);
        *value = v;
    }
    return Trim(t.substr(0, eq));
}

}  // namespace

IniProfile::IniProfile(std::string path) : path_(std::move(path)) {}

std::string IniProfile::GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const {
    bool inSection = false;
    for (const auto& line : ReadLines(path_)) {
        if (auto s = SectionOf(line)) {
            inSection = SameName(*s, section);
            continue;
        }
        if (!inSection) continue;
        std::string value;
        if (auto k = KeyOf(line, &value); k && SameName(*k, key)) return value;
    }
    return defaultValue;
}

int IniProfile::GetInt(const std::string& section, const std::string& key, int defaultValue) const {
    std::string v = GetString(section, key, {});
    if (v.empty()) return defaultValue;
    const char* p = v.c_str();
    char* end = nullptr;
    errno = 0;
    long n = std::strtol(p, &end, 10);
    if (end == p) return defaultValue;
    if (errno == ERANGE || n > INT_MAX || n < INT_MIN) return defaultValue;
    return static_cast<int>(n);
}

bool IniProfile::WriteString(const std::string& section, const std::string& key,
                             const std::optional<std::string>& value) {
    bool cut = false;
    std::vector<std::string> lines = ReadLines(path_, &cut);
    // Written back, a file read only in part would lose everything past the bound.
    if (cut) {
        errno = EFBIG;
        return false;
    }
    bool inSection = false, sectionSeen = false, done = false;
    size_t sectionEnd = lines.size();  // index after the last line of the matching section
    for (size_t i = 0; i < lines.size() && !done; ++i) {
        if (auto s = SectionOf(lines[i])) {
            if (inSection) { sectionEnd = i; break; }
            inSection = SameName(*s, section);
            if (inSection) { sectionSeen = true; sectionEnd = lines.size(); }
            continue;
        }
        if (!inSection) continue;
        if (auto k = KeyOf(lines[i], nullptr); k && SameName(*k, key)) {
            if (value) lines[i] = *k + "=" + *value;
            else lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            done = true;
        }
    }
    if (!done && value) {
        if (!sectionSeen) {
            if (!lines.empty() && !Trim(lines.back()).empty()) lines.push_back("");
            lines.push_back("[" + section + "]");
            lines.push_back(key + "=" + *value);
        } else {
            // Insert after the section's last non-blank line, so blank separators stay put.
            size_t at = sectionEnd;
            while (at > 0 && Trim(lines[at - 1]).empty() && !SectionOf(lines[at - 1])) --at;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), key + "=" + *value);
        }
    } else if (!done) {
        return true;  // nothing to remove
    }
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    return WriteFileAtomically(path_, text);
}

bool IniProfile::WriteInt(const std::string& section, const std::string& key, int value) {
    return WriteString(section, key, std::to_string(value));
}

}  // namespace qs
