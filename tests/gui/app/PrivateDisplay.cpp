#include "PrivateDisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace qs::test {

namespace {

constexpr const char* kOwnDisplayVar = "QS_TEST_OWN_DISPLAY";

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, bool searchPath) {
    std::vector<char*> argv, envp;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    pid_t pid = -1;
    const int rc = searchPath ? posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data())
                              : posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data());
    return rc == 0 ? pid : -1;
}

std::vector<std::string> CurrentEnvironment() {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    return env;
}

// Reads the display number Xvfb writes once it accepts clients.
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

int WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return status;
}

}  // namespace

bool OnOwnDisplay() {
    if (const char* own = std::getenv(kOwnDisplayVar); own && std::string(own) == "1") return true;

    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();

    int fds[2];
    if (pipe(fds) != 0) {
        ADD_FAILURE() << "pipe: " << std::strerror(errno);
        return false;
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    const pid_t xvfb = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24",
                              "-nolisten", "tcp"},
                             CurrentEnvironment(), true);
    close(fds[1]);
    if (xvfb < 0) {
        close(fds[0]);
        ADD_FAILURE() << "cannot start Xvfb (package xvfb)";
        return false;
    }
    const std::string number = ReadDisplayNumber(fds[0], 20000);
    close(fds[0]);
    if (number.empty()) {
        kill(xvfb, SIGTERM);
        WaitFor(xvfb);
        ADD_FAILURE() << "Xvfb did not report a display";
        return false;
    }

    std::vector<std::string> env;
    for (auto& e : CurrentEnvironment()) {
        if (e.rfind("DISPLAY=", 0) != 0 && e.rfind("WAYLAND_DISPLAY=", 0) != 0) env.push_back(e);
    }
    env.push_back("DISPLAY=:" + number);
    env.push_back(std::string(kOwnDisplayVar) + "=1");
    char self[4096];
    const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
    int status = -1;
    if (len > 0) {
        self[len] = '\0';
        const pid_t child = Spawn({self, filter}, env, false);
        if (child > 0) status = WaitFor(child);
    }
    kill(xvfb, SIGTERM);
    WaitFor(xvfb);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the test on its own display failed (status " << status << "); its output is above";
    return false;
}

}  // namespace qs::test
