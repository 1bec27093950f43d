#pragma once
#include <string>
#include <vector>

namespace qs {

// What Quillset's command line asks for: nothing (a plain start opens no document), a
// document to open, or the usage text. Options: --minimized (start with the main window
// minimised, so without a splash window), --help, and "--" before a file name that starts
// with '-'.
struct ShellCommandLine {
    enum class Action { kNothing, kOpen, kUsage, kBad };

    static constexpr size_t kMaxPathLength = 4096;

    Action action = Action::kNothing;
    std::string file;
    bool minimized = false;
    std::string error;  // kBad: why

    // `args` without the program's own name.
    static ShellCommandLine Parse(const std::vector<std::string>& args);
    static const char* Usage();
};

}  // namespace qs
