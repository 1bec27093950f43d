#pragma once
// duravane-sim for a benchmark run: started once on TCP at a loopback address of its own
// (127.<net>.x.y, x.y from the process id, so parallel runs do not meet), ready once it
// accepts a connection, stopped when the run ends. The benchmarks then time the client
// against its bare round trips over Dial().
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

class BenchSimulator {
public:
    static constexpr unsigned kPort = 7734;

    BenchSimulator(int net, std::vector<std::string> extraArgs) {
        const unsigned pid = static_cast<unsigned>(::getpid());
        host_ = "127." + std::to_string(net) + "." + std::to_string(pid / 254 % 254 + 1) + "." +
                std::to_string(pid % 254 + 1);
        std::vector<std::string> args = {std::string(QS_BIN_DIR) + "/duravane-sim", "--tcp",
                                         host_ + ":" + std::to_string(kPort)};
        args.insert(args.end(), extraArgs.begin(), extraArgs.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ == 0) {
            // The simulator must not outlive a benchmark that crashed.
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (::getppid() != parent) ::_exit(127);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        if (pid_ < 0) {
            error_ = "fork failed";
            return;
        }
        // Ready once it accepts a connection; give up after 10 s.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (const int fd = Dial(host_); fd >= 0) {
                ::close(fd);
                ready_ = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        error_ = "duravane-sim did not start (is it built in " + std::string(QS_BIN_DIR) + "?)";
    }

    ~BenchSimulator() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
    }
    BenchSimulator(const BenchSimulator&) = delete;
    BenchSimulator& operator=(const BenchSimulator&) = delete;

    bool Ready() const { return pid_ > 0 && ready_; }
    const std::string& Host() const { return host_; }
    const std::string& Error() const { return error_; }

    // A plain TCP connection to the simulator's command port, Nagle off (-1 on failure).
    static int Dial(const std::string& host) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return -1;
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(kPort);
        ::inet_pton(AF_INET, host.c_str(), &a.sin_addr);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            ::close(fd);
            return -1;
        }
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        return fd;
    }

private:
    pid_t pid_ = -1;
    bool ready_ = false;
    std::string host_;
    std::string error_;
};
