#pragma once
#include <memory>
#include <string>

class wxFileConfig;
class wxFileHistory;

namespace qs {

// Stands in for the program's registry key ("Norvane Technologies", application "Quillset"):
// one settings file in the configuration folder with the same sections and value names
// ("General", "Settings", "Recent File List"). It is read once when made, bounded, and
// written back whole through a temporary file on Flush, so a crash never leaves half a file.
class SettingsStore {
public:
    static constexpr const char* kAppKey = "Norvane Technologies/Quillset";
    // Larger files are not read (the settings start from their defaults).
    static constexpr size_t kMaxFileBytes = 256 * 1024;
    // Longest text value handed out.
    static constexpr size_t kMaxValueLength = 1024;
    static constexpr const char* kRecentFilesSection = "Recent File List";

    // path empty: the file of kAppKey in the configuration folder.
    explicit SettingsStore(std::string path = {});
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    const std::string& Path() const { return path_; }

    int GetInt(const std::string& section, const std::string& key, int defaultValue) const;
    std::string GetString(const std::string& section, const std::string& key, const std::string& defaultValue = {}) const;
    void WriteInt(const std::string& section, const std::string& key, int value);
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

    // The recent-file list.
    void LoadHistory(wxFileHistory& history);
    void SaveHistory(wxFileHistory& history);

    // Writes the file if anything changed; false when it could not be written.
    [[nodiscard]] bool Flush();

    wxFileConfig& Config() { return *config_; }

private:
    std::string path_;
    std::unique_ptr<wxFileConfig> config_;
    bool dirty_ = false;
};

}  // namespace qs
