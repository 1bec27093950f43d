#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace qs {

// Starts other programs of the suite (the emulators) the way a shell would not: the program is
// looked up beside our own executable, then on PATH, and gets an argument vector, so no word
// of a parameter text is ever read as shell syntax. The child inherits only its standard
// output and error (its input is /dev/null) - no serial line, socket or file of ours - and a
// failed start is known before Start() returns. The children are not waited for; ReapFinished()
// collects those that have ended so none is left a zombie.
class ProcessLauncher {
public:
    // Bounds on what a child is given.
    static constexpr size_t kMaxArguments = 64;
    static constexpr size_t kMaxArgumentBytes = 16384;

    struct Started {
        bool ok = false;
        pid_t pid = -1;
        int error = 0;        // errno of a failed start
        std::string message;  // "<program>: <reason>" of a failed start
    };
    struct Finished {
        pid_t pid = -1;
        bool exited = false;  // ended by exit (code) rather than by a signal
        int code = 0;         // exit code, or the signal's number
    };

    ProcessLauncher() = default;
    // Children still running are left to run: they are programs of their own.
    ~ProcessLauncher() = default;
    ProcessLauncher(const ProcessLauncher&) = delete;
    ProcessLauncher& operator=(const ProcessLauncher&) = delete;

    // Folder of the running executable (from /proc/self/exe); empty when unknown.
    static std::string ExecutableDir();
    // An executable plain file named `name` in `besideDir` (default: ExecutableDir()), else in
    // the absolute folders of PATH (empty and relative entries are skipped: nothing is run
    // from whatever the current folder is). A name with a '/' is taken as a path.
    static std::optional<std::string> FindProgram(const std::string& name, const std::string& besideDir);
    static std::optional<std::string> FindProgram(const std::string& name);
    // The parameter text split at blanks (spaces and tabs), empty words dropped.
    static std::vector<std::string> SplitWords(std::string_view text);
    // The arguments after the program's own path, joined with single blanks (empty ones
    // skipped): the command-line text the emulators read.
    static std::string JoinArguments(int argc, const char* const* argv);
    static std::string JoinArguments(const std::vector<std::string>& args);

    // Runs `program` (a path) with `args` (not counting argv[0], which is the program path).
    Started Start(const std::string& program, const std::vector<std::string>& args);
    // FindProgram(name, besideDir) and Start it with SplitWords(parameters).
    Started StartProgram(const std::string& name, std::string_view parameters, const std::string& besideDir);
    Started StartProgram(const std::string& name, std::string_view parameters);

    // Collects, without waiting, every child started here that has ended.
    std::vector<Finished> ReapFinished();
    // Waits for one child started here to end and collects it (pid -1 in the result when it
    // is not one of ours).
    Finished Wait(pid_t pid);
    // Children started here and not yet collected.
    const std::vector<pid_t>& Running() const { return running_; }

private:
    std::vector<pid_t> running_;
};

}  // namespace qs
