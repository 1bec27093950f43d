#pragma once
#include <optional>
#include <string>
#include <vector>

namespace qs {

// Where the programs keep their files, with the environment overrides tests and the run
// script use to give each program its own folders.
namespace paths {

std::string HomeDir();
std::string ConfigHome();   // $XDG_CONFIG_HOME or ~/.config
std::string DataHome();     // $XDG_DATA_HOME or ~/.local/share

// "QS3X.INI": $QUILLSET_INI, else <config home>/quillset/QS3X.INI.
std::string IniPath();

// The program folder's data ("PARAM.DAT", ".SD3" files), first match wins:
// $QUILLSET_DATA_DIR, the installed data folder, <data home>/quillset.
std::vector<std::string> DataSearchDirs();
// Files built at run time go here (the last of the search folders).
std::string BuiltDataDir();
// The first existing file of that name in the search folders.
std::optional<std::string> FindDataFile(const std::string& name);

// The settings file that stands in for one registry application key,
// e.g. "Norvane Technologies/Quillset".
std::string SettingsFile(const std::string& appKey);

// Folder for the lock file and control socket: $XDG_RUNTIME_DIR/quillset or
// /tmp/quillset-<uid>. Created with mode 0700; refused (nullopt, error text set) when it is a
// symlink, belongs to someone else or is open to others.
std::optional<std::string> RuntimeDir(std::string* error = nullptr);

// Creates `dir` with mode 0700 if missing and checks that it is a real folder owned by us
// and closed to others.
bool EnsurePrivateDir(const std::string& dir, std::string* error = nullptr);

}  // namespace paths
}  // namespace qs
