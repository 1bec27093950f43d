#pragma once
#include <optional>
#include <string>

namespace qs {

// A private profile file ("QS3X.INI"): section and key names compare without case, a missing
// key gives the default, and a write changes only its own line, keeping every other line and
// comment. Every call reads the file afresh, so two programs sharing it see each other's
// writes.
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
    std::string path_;
};

}  // namespace qs
