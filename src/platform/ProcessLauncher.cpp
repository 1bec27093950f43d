#include "platform/ProcessLauncher.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace qs {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

ProcessLauncher::Started Failure(const std::string& program, int error, const std::string& reason = {}) {
    ProcessLauncher::Started s;
    s.error = error;
    s.message = program + ": " + (reason.empty() ? std::string(std::strerror(error)) : reason);
    return s;
}

// Runs in the forked child, so only async-signal-safe calls: everything it needs was made
// before the fork.
[[noreturn]] void ExecChild(const char* program, char* const* argv, int devNull, int errorPipe, int maxFd) {
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    // An ignored signal would stay ignored in the new program.
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig) ::sigaction(sig, &dfl, nullptr);

    int error = 0;
    if (::dup2(devNull, STDIN_FILENO) < 0) error = errno;
    // Whatever descriptor someone opened without close-on-exec still goes no further.
    if (error == 0 && ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0)
        for (int fd = 3; fd < maxFd; ++fd) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    if (error == 0) {
        ::execv(program, argv);
        error = errno;
    }
    // The pipe is close-on-exec: the parent reads end-of-file on success, this number on failure.
    ssize_t ignored = ::write(errorPipe, &error, sizeof error);
    (void)ignored;
    ::_exit(127);
}

}  // namespace

std::string ProcessLauncher::ExecutableDir() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    std::string path(buf, static_cast<size_t>(n));
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::optional<std::string> ProcessLauncher::FindProgram(const std::string& name, const std::string& besideDir) {
    if (name.empty() || name.size() > NAME_MAX || name.find('\0') != std::string::npos) return std::nullopt;
    if (name.find('/') != std::string::npos) {
        if (IsExecutableFile(name)) return name;
        return std::nullopt;
    }
    if (!besideDir.empty()) {
        std::string p = besideDir + (besideDir.back() == '/' ? "" : "/") + name;
        if (IsExecutableFile(p)) return p;
    }
    const char* env = std::getenv("PATH");
    std::string_view path = env ? env : "/usr/local/bin:/usr/bin:/bin";
    while (!path.empty()) {
        size_t colon = path.find(':');
        std::string_view dir = path.substr(0, colon);
        path = colon == std::string_view::npos ? std::string_view{} : path.substr(colon + 1);
        if (dir.empty() || dir.front() != '/') continue;
        std::string p = std::string(dir) + (dir.back() == '/' ? "" : "/") + name;
        if (IsExecutableFile(p)) return p;
    }
    return std::nullopt;
}

std::optional<std::string> ProcessLauncher::FindProgram(const std::string& name) {
    return FindProgram(name, ExecutableDir());
}

std::vector<std::string> ProcessLauncher::SplitWords(std::string_view text) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) ++i;
        if (i > start) words.emplace_back(text.substr(start, i - start));
    }
    return words;
}

std::string ProcessLauncher::JoinArguments(const std::vector<std::string>& args) {
    std::string text;
    for (const auto& a : args) {
        if (a.empty()) continue;
        if (!text.empty()) text += ' ';
        text += a;
    }
    return text;
}

std::string ProcessLauncher::JoinArguments(int argc, const char* const* argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc && argv && argv[i]; ++i) args.emplace_back(argv[i]);
    return JoinArguments(args);
}

ProcessLauncher::Started ProcessLauncher::Start(const std::string& program, const std::vector<std::string>& args) {
    if (program.empty() || program.find('\0') != std::string::npos) return Failure(program, EINVAL);
    size_t bytes = program.size() + 1;
    for (const auto& a : args) {
        if (a.find('\0') != std::string::npos) return Failure(program, EINVAL, "an argument holds a NUL byte");
        bytes += a.size() + 1;
    }
    if (args.size() > kMaxArguments || bytes > kMaxArgumentBytes) return Failure(program, E2BIG);

    std::vector<std::string> owned;
    owned.reserve(args.size() + 1);
    owned.push_back(program);
    owned.insert(owned.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& s : owned) argv.push_back(s.data());
    argv.push_back(nullptr);

    long openMax = ::sysconf(_SC_OPEN_MAX);
    int maxFd = static_cast<int>(std::clamp<long>(openMax, 256, 65536));

    int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (devNull < 0) return Failure(program, errno);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        int e = errno;
        ::close(devNull);
        return Failure(program, e);
    }

    pid_t pid = ::fork();
    if (pid == 0) ExecChild(owned[0].c_str(), argv.data(), devNull, pipeFds[1], maxFd);
    int forkError = errno;
    ::close(pipeFds[1]);
    ::close(devNull);
    if (pid < 0) {
        ::close(pipeFds[0]);
        return Failure(program, forkError);
    }

    int childError = 0;
    ssize_t n;
    do n = ::read(pipeFds[0], &childError, sizeof childError);
    while (n < 0 && errno == EINTR);
    ::close(pipeFds[0]);
    if (n != 0) {
        // The exec failed (or its report came short): the child has ended, collect it now.
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return Failure(program, n == static_cast<ssize_t>(sizeof childError) && childError ? childError : ECHILD);
    }
    running_.push_back(pid);
    Started s;
    s.ok = true;
    s.pid = pid;
    return s;
}

ProcessLauncher::Started ProcessLauncher::StartProgram(const std::string& name, std::string_view parameters,
                                                       const std::string& besideDir) {
    auto program = FindProgram(name, besideDir);
    if (!program) return Failure(name, ENOENT, "not found beside this program or on PATH");
    return Start(*program, SplitWords(parameters));
}

ProcessLauncher::Started ProcessLauncher::StartProgram(const std::string& name, std::string_view parameters) {
    return StartProgram(name, parameters, ExecutableDir());
}

std::vector<ProcessLauncher::Finished> ProcessLauncher::ReapFinished() {
    std::vector<Finished> done;
    for (size_t i = 0; i < running_.size();) {
        int status = 0;
        pid_t r = ::waitpid(running_[i], &status, WNOHANG);
        if (r < 0 && errno == EINTR) continue;
        if (r == 0) {
            ++i;
            continue;
        }
        if (r > 0) {
            Finished f;
            f.pid = r;
            f.exited = WIFEXITED(status);
            f.code = f.exited ? WEXITSTATUS(status) : WTERMSIG(status);
            done.push_back(f);
        }
        // Collected here, or (ECHILD) by someone else: either way no longer ours to wait for.
        running_.erase(running_.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return done;
}

ProcessLauncher::Finished ProcessLauncher::Wait(pid_t pid) {
    Finished f;
    auto it = std::find(running_.begin(), running_.end(), pid);
    if (it == running_.end()) return f;
    running_.erase(it);
    int status = 0;
    pid_t r;
    do r = ::waitpid(pid, &status, 0);
    while (r < 0 && errno == EINTR);
    if (r != pid) return f;
    f.pid = pid;
    f.exited = WIFEXITED(status);
    f.code = f.exited ? WEXITSTATUS(status) : WTERMSIG(status);
    return f;
}

}  // namespace qs
