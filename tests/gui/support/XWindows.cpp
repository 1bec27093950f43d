#include "XWindows.h"

#include <sys/stat.h>

#include <sstream>
#include <thread>

#include "Processes.h"

namespace qs::test {

std::vector<std::string> FindWindows(const std::string& titleRegex, bool onlyVisible) {
    std::vector<std::string> args = {"xdotool", "search"};
    if (onlyVisible) args.push_back("--onlyvisible");
    args.insert(args.end(), {"--name", titleRegex});
    const ToolResult r = RunTool(args);
    std::vector<std::string> ids;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) ids.push_back(line);
    }
    return ids;
}

std::optional<WindowGeometry> GetGeometry(const std::string& windowId) {
    const ToolResult r = RunTool({"xdotool", "getwindowgeometry", "--shell", windowId});
    if (r.status != 0) return std::nullopt;
    WindowGeometry g;
    int found = 0;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq);
        const int value = std::atoi(line.c_str() + eq + 1);
        if (key == "X") g.x = value, ++found;
        else if (key == "Y") g.y = value, ++found;
        else if (key == "WIDTH") g.width = value, ++found;
        else if (key == "HEIGHT") g.height = value, ++found;
    }
    if (found != 4) return std::nullopt;
    return g;
}

std::string WindowStates(const std::string& windowId) { return WindowProperty(windowId, "_NET_WM_STATE"); }

std::string WindowProperty(const std::string& windowId, const std::string& name) {
    return RunTool({"xprop", "-id", windowId, name}).out;
}

bool Screenshot(const std::string& windowId, const std::string& path) {
    // With the window manager's frame around it, as the user sees it.
    return RunTool({"import", "-frame", "-window", windowId, path}).status == 0;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::string ScreenshotPath(const std::string& name) {
    const std::string dir = std::string(QS_BIN_DIR) + "/../screenshots";
    ::mkdir(dir.c_str(), 0755);
    return dir + "/" + name;
}

}  // namespace qs::test
