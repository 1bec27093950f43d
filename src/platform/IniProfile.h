#pragma once
#include <ctime>
#include <optional>
#include <string>
#include <sys/types.h>
#include <unordered_map>
#include <vector>

namespace qs {

// A private profile file ("QS3X.INI"): section and key names compare without case, a missing
// key gives the default, and a write changes only its own line, keeping every other line and
// comment. The file is read once and read again only when it has changed on disk (another
// name, size or time), so two programs sharing it see each other's writes and a run of look-ups
// costs a stat each. One thread at a time.
class IniProfile {
public:
    explicit IniProfile(std::string path);

    const std::string& Path() const { return path_; }

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue = {}) const;
    // GetPrivateProfileInt: leading optional sign and decimal digits; anything else the default.
    int GetInt(const std::string& section, const std::string& key, int defaultValue) const;
    // nullopt removes the key. Returns false (errno kept) when the file cannot be written, or
    // is longer than kMaxFileBytes (EFBIG: what lies past the bound is never read, so it could
    // not be written back); the old file stays.
    [[nodiscard]] bool WriteString(const std::string& section, const std::string& key,
                     const std::optional<std::string>& value);
    [[nodiscard]] bool WriteInt(const std::string& section, const std::string& key, int value);

    // Longest file we read; the rest is not read.
    static constexpr size_t kMaxFileBytes = 1 << 20;

private:
    // What the file held when last read, with what tells a later change.
    struct Snapshot {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        timespec changed{};
        bool cut = false;  // longer than kMaxFileBytes
        std::vector<std::string> lines;
        // Lower-case "section\nkey" -> value of its first line.
        std::unordered_map<std::string, std::string> values;
    };
    // The file as it is now: the snapshot kept, or read again when the file changed.
    const Snapshot& Current() const;

    std::string path_;
    mutable std::optional<Snapshot> snapshot_;
};

}  // namespace qs
