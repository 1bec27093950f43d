#pragma once
#include <sys/types.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"

namespace qs::test {

// Folders of one user of Quillset for a test: configuration (with "QS3X.INI" and the settings
// file), runtime (lock and control socket), data home, and the data folder the program reads
// "PARAM.DAT" and the ".SD3" files from (the build's by default).
class QuillsetHome {
public:
    explicit QuillsetHome(std::string dataDir = QS_DATA_BUILD_DIR);

    std::string IniPath() const { return dir_.File("config/QS3X.INI"); }
    std::string SettingsPath() const { return dir_.File("config/Norvane Technologies/Quillset"); }
    std::string DataHome() const { return dir_.File("data"); }
    std::string BuiltDataDir() const { return dir_.File("data/quillset"); }
    const std::string& DataDir() const { return dataDir_; }
    std::string File(const std::string& name) const { return dir_.File(name); }
    void Write(const std::string& name, const std::string& text) const { dir_.Write(name, text); }
    std::string Read(const std::string& name) const { return dir_.Read(name); }
    // Environment changes that make a program use these folders.
    std::vector<std::string> Environment() const;

private:
    TempDir dir_;
    std::string dataDir_;
};

// One run of the quillset program in a home, stopped (if still running) when the object goes.
class QuillsetProcess {
public:
    QuillsetProcess(const QuillsetHome& home, const std::vector<std::string>& args = {});
    ~QuillsetProcess();
    QuillsetProcess(const QuillsetProcess&) = delete;
    QuillsetProcess& operator=(const QuillsetProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    // The exit status once it has ended within `timeout` (-1 for a signal); nullopt while running.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    // Standard output and error so far.
    std::string Output() const;
    // The main window's id once it is shown (nullopt on time-out).
    std::optional<std::string> WaitForMainWindow(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Closes the main window as the user does (Alt+F4 through the window manager) and waits for
    // the program to end; its exit status.
    std::optional<int> CloseAndWait(const std::string& windowId);

    static std::string ProgramPath() { return std::string(QS_BIN_DIR) + "/quillset"; }
    static constexpr const char* kMainTitle = "^Quillset\\.NET";

private:
    pid_t pid_ = -1;
    std::string outputPath_;
    std::optional<int> exit_;
};

}  // namespace qs::test
