#pragma once
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace qs::test {

// The current environment with some variables replaced (NAME=value) or removed (NAME alone).
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& changes);

// Starts a program with an argument vector (no shell); -1 when it could not be started.
pid_t SpawnProgram(const std::vector<std::string>& args, const std::vector<std::string>& env,
                   const std::string& stdoutPath = {});

// Waits for a child; nullopt when it is still running after `timeout`. The result is the wait
// status.
std::optional<int> WaitForChild(pid_t pid, std::chrono::milliseconds timeout);

// SIGTERM, then SIGKILL after a grace time; reaps it.
void StopChild(pid_t pid);

struct ToolResult {
    int status = -1;  // exit code, -1 when it did not end normally
    std::string out;  // standard output
};
// Runs a small X tool (xdotool, xprop, import...) to the end, bounded to 10 s.
ToolResult RunTool(const std::vector<std::string>& args);

}  // namespace qs::test
