#include "app/shell/SettingsStore.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>

#include <wx/filehistory.h>
#include <wx/fileconf.h>
#include <wx/sstream.h>

#include "platform/AtomicFile.h"
#include "platform/Paths.h"

namespace qs {

namespace {

// The file's text when it is a plain file of sane size; empty otherwise.
std::string ReadBounded(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    if (static_cast<size_t>(st.st_size) > SettingsStore::kMaxFileBytes) {
        std::fprintf(stderr, "quillset: %s is larger than %zu bytes; its settings are not read\n", path.c_str(),
                     SettingsStore::kMaxFileBytes);
        return {};
    }
    std::ifstream in(path, std::ios::binary);
    std::string text;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (text.size() > SettingsStore::kMaxFileBytes) text.clear();
    return text;
}

wxString Entry(const std::string& section, const std::string& key) {
    return "/" + wxString::FromUTF8(section) + "/" + wxString::FromUTF8(key);
}

}  // namespace

SettingsStore::SettingsStore(std::string path) : path_(path.empty() ? paths::SettingsFile(kAppKey) : std::move(path)) {
    wxStringInputStream in(wxString::FromUTF8(ReadBounded(path_)));
    config_ = std::make_unique<wxFileConfig>(in);
}

SettingsStore::~SettingsStore() = default;

int SettingsStore::GetInt(const std::string& section, const std::string& key, int defaultValue) const {
    long value = defaultValue;
    if (!config_->Read(Entry(section, key), &value)) return defaultValue;
    if (value < INT32_MIN || value > INT32_MAX) return defaultValue;
    return static_cast<int>(value);
}

std::string SettingsStore::GetString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) const {
    wxString value;
    if (!config_->Read(Entry(section, key), &value)) return defaultValue;
    std::string text = value.utf8_string();
    if (text.size() > kMaxValueLength) text.resize(kMaxValueLength);
    return text;
}

void SettingsStore::WriteInt(const std::string& section, const std::string& key, int value) {
    config_->Write(Entry(section, key), static_cast<long>(value));
    dirty_ = true;
}

void SettingsStore::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    config_->Write(Entry(section, key), wxString::FromUTF8(value));
    dirty_ = true;
}

void SettingsStore::LoadHistory(wxFileHistory& history) {
    const wxString old = config_->GetPath();
    config_->SetPath(wxString("/") + kRecentFilesSection);
    history.Load(*config_);
    config_->SetPath(old);
}

void SettingsStore::SaveHistory(wxFileHistory& history) {
    const wxString old = config_->GetPath();
    config_->DeleteGroup(wxString("/") + kRecentFilesSection);
    config_->SetPath(wxString("/") + kRecentFilesSection);
    history.Save(*config_);
    config_->SetPath(old);
    dirty_ = true;
}

bool SettingsStore::Flush() {
    if (!dirty_) return true;
    wxString text;
    wxStringOutputStream out(&text);
    if (!config_->Save(out)) return false;
    if (!WriteFileAtomically(path_, text.utf8_string())) return false;
    dirty_ = false;
    return true;
}

}  // namespace qs
