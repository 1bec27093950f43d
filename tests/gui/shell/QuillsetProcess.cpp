#include "QuillsetProcess.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

#include "Processes.h"
#include "XWindows.h"

namespace qs::test {

QuillsetHome::QuillsetHome(std::string dataDir) : dataDir_(std::move(dataDir)) {
    for (const char* sub : {"config", "runtime", "data"}) ::mkdir(dir_.File(sub).c_str(), 0700);
}

std::vector<std::string> QuillsetHome::Environment() const {
    return {"XDG_CONFIG_HOME=" + dir_.File("config"), "XDG_RUNTIME_DIR=" + dir_.File("runtime"),
            "XDG_DATA_HOME=" + DataHome(),            "QUILLSET_INI=" + IniPath(),
            "QUILLSET_DATA_DIR=" + dataDir_,          "WAYLAND_DISPLAY"};
}

QuillsetProcess::QuillsetProcess(const QuillsetHome& home, const std::vector<std::string>& args) {
    static int runs = 0;
    outputPath_ = home.File("quillset-" + std::to_string(++runs) + ".log");
    std::vector<std::string> argv = {ProgramPath()};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_ = SpawnProgram(argv, EnvironmentWith(home.Environment()), outputPath_);
}

QuillsetProcess::~QuillsetProcess() {
    if (pid_ > 0 && !exit_) StopChild(pid_);
}

std::optional<int> QuillsetProcess::WaitForExit(std::chrono::milliseconds timeout) {
    if (exit_) return exit_;
    if (pid_ <= 0) return -1;
    const auto status = WaitForChild(pid_, timeout);
    if (!status) return std::nullopt;
    exit_ = WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    return exit_;
}

std::string QuillsetProcess::Output() const {
    std::ifstream in(outputPath_);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::optional<std::string> QuillsetProcess::WaitForMainWindow(std::chrono::milliseconds timeout) {
    std::optional<std::string> id;
    WaitUntil(
        [&] {
            const auto ids = FindWindows(kMainTitle, true);
            if (ids.size() == 1) id = ids.front();
            return id.has_value() || WaitForExit(std::chrono::milliseconds(0)).has_value();
        },
        timeout);
    return id;
}

std::optional<int> QuillsetProcess::CloseAndWait(const std::string& windowId) {
    // On a loaded machine the key can reach the window before it has the focus; ask again
    // until it goes, within the same overall bound.
    for (int attempt = 0; attempt < 10; ++attempt) {
        RunTool({"xdotool", "windowactivate", "--sync", windowId});
        RunTool({"xdotool", "key", "--clearmodifiers", "alt+F4"});
        if (auto status = WaitForExit(std::chrono::seconds(3))) return status;
    }
    return std::nullopt;
}

}  // namespace qs::test
