#include "FtpServerProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <sstream>

namespace qs::test {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kStartTimeout = std::chrono::seconds(15);

int MsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits up to five seconds for the child to end; false when it has not.
bool Reap(pid_t pid) {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (true) {
        int status = 0;
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno != EINTR)) return true;
        if (MsLeft(deadline) == 0) return false;
        ::poll(nullptr, 0, 10);
    }
}

}  // namespace

FtpServerProcess::FtpServerProcess(Options options) {
    std::vector<std::string> args{"/usr/bin/python3",       QS_SOURCE_DIR "/tests/integration/firmware/ftp_server.py",
                                  "--host",                 options.host,
                                  "--root",                 root_.Path(),
                                  "--user",                 options.user,
                                  "--password",             options.password,
                                  "--log",                  own_.File("commands.log")};
    for (const std::string& fault : options.faults) {
        args.push_back("--fault");
        args.push_back(fault);
    }
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string errors = own_.File("server.err");

    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        error_ = std::string("pipe: ") + std::strerror(errno);
        return;
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        error_ = std::string("fork: ") + std::strerror(errno);
        ::close(out[0]);
        ::close(out[1]);
        return;
    }
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) ::_exit(127);
        ::dup2(out[1], STDOUT_FILENO);
        const int err = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (err >= 0) ::dup2(err, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    std::string pending;
    const auto deadline = Clock::now() + kStartTimeout;
    while (port_ == 0) {
        pollfd p{out[0], POLLIN, 0};
        const int left = MsLeft(deadline);
        if (left == 0 || ::poll(&p, 1, left) <= 0) {
            error_ = "the FTP server did not say its port in time";
            break;
        }
        char buffer[256];
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error_ = "the FTP server ended at once: " + ReadWhole(errors);
            break;
        }
        pending.append(buffer, static_cast<size_t>(n));
        const size_t nl = pending.find('\n');
        if (nl != std::string::npos && pending.rfind("PORT ", 0) == 0)
            port_ = static_cast<unsigned>(std::stoul(pending.substr(5, nl - 5)));
    }
    ::close(out[0]);
    if (port_ != 0) {
        pid_ = pid;
        return;
    }
    ::kill(pid, SIGKILL);
    Reap(pid);
}

FtpServerProcess::~FtpServerProcess() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    if (!Reap(pid_)) {
        ::kill(pid_, SIGKILL);
        Reap(pid_);
    }
}

std::vector<std::string> FtpServerProcess::Commands() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadWhole(own_.File("commands.log")));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace qs::test
