#pragma once
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qs::test {

// Looks at the display from outside, as a user would, through the X tools.

// Ids of the top-level windows whose title matches the regular expression (xdotool search);
// onlyVisible: mapped and viewable ones only (a minimised window is not).
std::vector<std::string> FindWindows(const std::string& titleRegex, bool onlyVisible);

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};
std::optional<WindowGeometry> GetGeometry(const std::string& windowId);

// The window manager's state atoms of the window ("_NET_WM_STATE_HIDDEN", ...), as xprop
// prints them.
std::string WindowStates(const std::string& windowId);
// Any property of the window as xprop prints it ("_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, ...").
std::string WindowProperty(const std::string& windowId, const std::string& name);

// Saves a picture of the window ("root": the whole screen).
bool Screenshot(const std::string& windowId, const std::string& path);

// Polls `done` every 20 ms until it holds or `timeout` passes.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// Where the shell tests leave their pictures for people to look at.
std::string ScreenshotPath(const std::string& name);

}  // namespace qs::test
