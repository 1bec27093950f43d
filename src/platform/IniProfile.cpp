#include "platform/IniProfile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
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

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string ValueKey(const std::string& section, const std::string& key) { return Lower(section) + "\n" + Lower(key); }

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

}  // namespace

IniProfile::IniProfile(std::string path) : path_(std::move(path)) {}

const IniProfile::Snapshot& IniProfile::Current() const {
    struct stat st {};
    const bool exists = ::stat(path_.c_str(), &st) == 0;
    if (snapshot_ && snapshot_->exists == exists &&
        (!exists || (snapshot_->device == st.st_dev && snapshot_->inode == st.st_ino && snapshot_->size == st.st_size &&
                     SameTime(snapshot_->modified, st.st_mtim) && SameTime(snapshot_->changed, st.st_ctim))))
        return *snapshot_;
    Snapshot snap;
    snap.exists = exists;
    if (exists) {
        snap.device = st.st_dev;
        snap.inode = st.st_ino;
        snap.size = st.st_size;
        snap.modified = st.st_mtim;
        snap.changed = st.st_ctim;
    }
    snap.lines = ReadLines(path_, &snap.cut);
    std::optional<std::string> section;  // none before the first section line
    for (const auto& line : snap.lines) {
        if (auto s = SectionOf(line)) {
            section = std::move(s);
            continue;
        }
        if (!section) continue;
        std::string value;
        // The first line of a key wins, as a scan from the top finds it.
        if (auto k = KeyOf(line, &value)) snap.values.emplace(ValueKey(*section, *k), std::move(value));
    }
    snapshot_ = std::move(snap);
    return *snapshot_;
}

std::string IniProfile::GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const {
    const Snapshot& snap = Current();
    const auto it = snap.values.find(ValueKey(section, key));
    return it == snap.values.end() ? defaultValue : it->second;
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
    const Snapshot& snap = Current();
    // Written back, a file read only in part would lose everything past the bound.
    if (snap.cut) {
        errno = EFBIG;
        return false;
    }
    std::vector<std::string> lines = snap.lines;
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
    // Read again at the next call whatever the write did.
    snapshot_.reset();
    return WriteFileAtomically(path_, text);
}

bool IniProfile::WriteInt(const std::string& section, const std::string& key, int value) {
    return WriteString(section, key, std::to_string(value));
}

}  // namespace qs
