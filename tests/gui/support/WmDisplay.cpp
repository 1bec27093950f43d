#include "WmDisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Processes.h"

namespace qs::test {

namespace {

constexpr const char* kOwnDisplayVar = "QS_TEST_OWN_WM_DISPLAY";

std::string ReadDisplayNumber(int fd, int timeoutMs) {
    std::string number;
    pollfd p{fd, POLLIN, 0};
    while (true) {
        const int r = poll(&p, 1, timeoutMs);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return {};
        char buf[32];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) return {};
        for (ssize_t i = 0; i < n; ++i) {
            if (buf[i] == '\n') return number;
            if (buf[i] >= '0' && buf[i] <= '9' && number.size() < 8) number += buf[i];
        }
    }
}

// openbox announces itself on the root window once it manages windows.
bool WaitForWindowManager(const std::string& display, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    ::setenv("DISPLAY", display.c_str(), 1);
    while (std::chrono::steady_clock::now() < end) {
        const ToolResult r = RunTool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"});
        if (r.status == 0 && r.out.find("window id") != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

}  // namespace

namespace {

bool RunOnOwnDisplay(bool withWindowManager) {
    if (const char* own = std::getenv(kOwnDisplayVar); own && std::string(own) == "1") return true;

    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();

    int fds[2];
    if (pipe(fds) != 0) {
        ADD_FAILURE() << "pipe: " << std::strerror(errno);
        return false;
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    const pid_t xvfb = SpawnProgram({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24",
                                     "-nolisten", "tcp"},
                                    EnvironmentWith({}));
    close(fds[1]);
    if (xvfb < 0) {
        close(fds[0]);
        ADD_FAILURE() << "cannot start Xvfb (package xvfb)";
        return false;
    }
    const std::string number = ReadDisplayNumber(fds[0], 20000);
    close(fds[0]);
    if (number.empty()) {
        StopChild(xvfb);
        ADD_FAILURE() << "Xvfb did not report a display";
        return false;
    }
    const std::string display = ":" + number;
    const std::string savedDisplay = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    const pid_t wm = withWindowManager
                         ? SpawnProgram({"openbox", "--sm-disable"}, EnvironmentWith({"DISPLAY=" + display}), "/dev/null")
                         : -1;
    const bool managed = !withWindowManager || (wm > 0 && WaitForWindowManager(display, std::chrono::seconds(20)));
    if (savedDisplay.empty()) ::unsetenv("DISPLAY");
    else ::setenv("DISPLAY", savedDisplay.c_str(), 1);

    int status = -1;
    if (!managed) {
        ADD_FAILURE() << "openbox did not start on " << display << " (package openbox)";
    } else {
        char self[4096];
        const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
        if (len > 0) {
            self[len] = '\0';
            const pid_t child = SpawnProgram({self, filter},
                                             EnvironmentWith({"DISPLAY=" + display, "WAYLAND_DISPLAY",
                                                              std::string(kOwnDisplayVar) + "=1"}));
            if (child > 0) {
                auto done = WaitForChild(child, std::chrono::seconds(170));
                if (!done) StopChild(child);
                status = done.value_or(-1);
            }
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "the test on its own display failed (status " << status << "); its output is above";
    }
    if (wm > 0) StopChild(wm);
    StopChild(xvfb);
    return false;
}

}  // namespace

bool OnOwnWmDisplay() { return RunOnOwnDisplay(true); }
bool OnOwnDisplay() { return RunOnOwnDisplay(false); }

}  // namespace qs::test
