#pragma once
// Stand-ins for the emulator programs: shell scripts that write the arguments they were
// started with, one a line, next to themselves, then end. A launch is checked by waiting for
// the child to end and reading what it wrote.
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "TempDir.h"

namespace qs::test {

class FakeEmulator {
public:
    // An executable script `name` that records its arguments in "<name>.args" (read once the
    // child has ended).
    void Install(const std::string& name) const {
        // Shell builtins only: the test may have emptied PATH.
        dir_.Write(name, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"${0%/*}/" + name + ".args\"\n");
        ::chmod(dir_.File(name).c_str(), 0755);
    }
    // An executable file `name` whose interpreter does not exist: found, but it cannot start.
    void InstallBroken(const std::string& name) const {
        dir_.Write(name, "#!/nonexistent/interpreter\n");
        ::chmod(dir_.File(name).c_str(), 0755);
    }
    // Forgets what an earlier start of `name` wrote.
    void Forget(const std::string& name) const { std::remove(dir_.File(name + ".args").c_str()); }
    const std::string& Folder() const { return dir_.Path(); }
    std::string Path(const std::string& name) const { return dir_.File(name); }

    // The arguments `name` was started with; nullopt when it never wrote them.
    std::optional<std::vector<std::string>> Arguments(const std::string& name) const {
        std::ifstream in(dir_.File(name + ".args"));
        if (!in) return std::nullopt;
        std::vector<std::string> args;
        for (std::string line; std::getline(in, line);) args.push_back(line);
        return args;
    }

    // Waits (bounded) until the child has ended, leaving it to be collected by its launcher.
    static bool WaitEnded(pid_t pid, std::chrono::milliseconds timeout = std::chrono::milliseconds(5000)) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            siginfo_t info{};
            if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return false;
            if (info.si_pid == pid) return true;
            if (std::chrono::steady_clock::now() >= end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

private:
    TempDir dir_;
};

}  // namespace qs::test
