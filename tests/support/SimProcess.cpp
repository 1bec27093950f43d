#include "SimProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "TempDir.h"

namespace qs::test {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

// A reader for the flat JSON objects of the frame log: string, number, true/false/null values.
class JsonLine {
public:
    explicit JsonLine(const std::string& text) : s_(text) {}

    bool Parse(SimFrame& f) {
        Skip();
        if (!Eat('{')) return false;
        Skip();
        if (Eat('}')) return true;
        while (true) {
            std::string key, str;
            long long num = 0;
            bool isString = false, isNumber = false, flag = false;
            Skip();
            if (!String(key)) return false;
            Skip();
            if (!Eat(':')) return false;
            Skip();
            if (Peek() == '"') {
                if (!String(str)) return false;
                isString = true;
            } else if (Word("true")) {
                flag = true;
            } else if (Word("false") || Word("null")) {
            } else if (Number(num)) {
                isNumber = true;
            } else {
                return false;
            }
            if (key == "direction") f.direction = str;
            else if (key == "transport") f.transport = str;
            else if (key == "kind") f.kind = str;
            else if (key == "framing") f.framing = str;
            else if (key == "text") f.text = str;
            else if (key == "error") f.error = str;
            else if (key == "hex" && isString && !FromHex(str, f.bytes)) return false;
            else if (key == "binary") f.binary = flag;
            else if (key == "address") f.address = isNumber ? static_cast<int>(num) : -1;
            else if (key == "link") f.link = static_cast<int>(num);
            else if (key == "ms") f.ms = num;
            Skip();
            if (Eat('}')) return true;
            if (!Eat(',')) return false;
        }
    }

private:
    char Peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }
    bool Eat(char c) {
        if (Peek() != c) return false;
        ++i_;
        return true;
    }
    void Skip() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t')) ++i_;
    }
    bool Word(const char* w) {
        size_t n = std::strlen(w);
        if (s_.compare(i_, n, w) != 0) return false;
        i_ += n;
        return true;
    }
    bool Number(long long& out) {
        bool neg = Eat('-');
        if (Peek() < '0' || Peek() > '9') return false;
        long long v = 0;
        while (Peek() >= '0' && Peek() <= '9' && v < (1LL << 50)) v = v * 10 + (s_[i_++] - '0');
        out = neg ? -v : v;
        return true;
    }
    static int HexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }
    static bool FromHex(const std::string& hex, std::string& out) {
        if (hex.size() % 2) return false;
        out.clear();
        for (size_t k = 0; k < hex.size(); k += 2) {
            int hi = HexDigit(hex[k]), lo = HexDigit(hex[k + 1]);
            if (hi < 0 || lo < 0) return false;
            out.push_back(static_cast<char>(hi << 4 | lo));
        }
        return true;
    }
    bool String(std::string& out) {
        if (!Eat('"')) return false;
        out.clear();
        while (i_ < s_.size()) {
            char c = s_[i_++];
            if (c == '"') return true;
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (i_ >= s_.size()) return false;
            char e = s_[i_++];
            switch (e) {
            case '"': case '\\': case '/': out.push_back(e); break;
            case 'b': out.push_back('\b'); break;
            case 'f': out.push_back('\f'); break;
            case 'n': out.push_back('\n'); break;
            case 'r': out.push_back('\r'); break;
            case 't': out.push_back('\t'); break;
            case 'u': {
                if (i_ + 4 > s_.size()) return false;
                int v = 0;
                for (int k = 0; k < 4; ++k) {
                    int d = HexDigit(s_[i_++]);
                    if (d < 0) return false;
                    v = v << 4 | d;
                }
                // The log writes bytes as \u00XX; anything wider cannot be one byte.
                out.push_back(v <= 0xFF ? static_cast<char>(v) : '?');
                break;
            }
            default: return false;
            }
        }
        return false;
    }

    const std::string& s_;
    size_t i_ = 0;
};

bool WaitForExit(pid_t pid, int& status, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    while (true) {
        pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid) break;
        if (r < 0 && errno != EINTR) {
            if (pidfd >= 0) ::close(pidfd);
            return false;
        }
        if (Clock::now() >= deadline) {
            if (pidfd >= 0) ::close(pidfd);
            return false;
        }
        if (pidfd >= 0) {
            pollfd p{pidfd, POLLIN, 0};
            ::poll(&p, 1, RemainingMs(deadline));
        } else {
            // No pidfd on this kernel: look again shortly.
            pollfd none{};
            ::poll(&none, 0, 5);
        }
    }
    if (pidfd >= 0) ::close(pidfd);
    return true;
}

}  // namespace

std::string SimProcess::ProgramPath() { return std::string(QS_BIN_DIR) + "/duravane-sim"; }

std::string SimProcess::UniqueLoopbackAddress() {
    static std::atomic<unsigned> counter{0};
    // 127.a.b.c with a, b, c in 1-254: never 127.0.0.x, never a broadcast-looking .255.
    const unsigned key = (static_cast<unsigned>(::getpid()) * 64u + counter++ % 64u) % (254u * 254u * 254u);
    const unsigned c = key % 254u + 1, b = key / 254u % 254u + 1, a = key / (254u * 254u) + 1;
    return "127." + std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c);
}

SimProcess::SimProcess(Options options) : dir_(std::make_unique<TempDir>()) {
    const bool ownHost = options.host.empty();
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::string host = ownHost ? UniqueLoopbackAddress() : options.host;
        std::string fault;
        if (Start(options, host, fault)) return;
        error_ = fault;
        // Another run may hold this address; an own address can simply be another one.
        if (!ownHost || !options.tcp) break;
    }
}

SimProcess::~SimProcess() { Stop(); }

std::string SimProcess::Folder() const { return dir_->Path(); }

bool SimProcess::Start(const Options& options, const std::string& host, std::string& fault) {
    std::vector<std::string> args{ProgramPath()};
    args.insert(args.end(), options.args.begin(), options.args.end());
    if (options.tcp) {
        args.push_back("--tcp");
        args.push_back(host + ":" + std::to_string(options.port));
    }
    if (options.pty) {
        args.push_back("--pty");
        args.push_back(dir_->File("tty"));
    }
    if (options.log) {
        logPath_ = dir_->File("sim.log");
        args.push_back("--log");
        args.push_back(logPath_);
    }
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        fault = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        fault = std::string("fork: ") + std::strerror(errno);
        ::close(out[0]);
        ::close(out[1]);
        return false;
    }
    if (pid == 0) {
        // Never outlive the test that started it.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) ::_exit(127);
        ::dup2(out[1], STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);

    std::string pending;
    bool ready = false;
    const auto deadline = Clock::now() + options.startTimeout;
    while (!ready) {
        pollfd p{out[0], POLLIN, 0};
        const int left = RemainingMs(deadline);
        if (left == 0 || ::poll(&p, 1, left) <= 0) {
            fault = "no \"ready\" from duravane-sim in time";
            break;
        }
        char buffer[512];
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            fault = "duravane-sim ended before it was ready";
            break;
        }
        pending.append(buffer, static_cast<size_t>(n));
        for (size_t nl; (nl = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, nl);
            pending.erase(0, nl + 1);
            if (line == "ready") {
                ready = true;
            } else if (line.rfind("listening tcp ", 0) == 0 && host_.empty()) {
                const std::string where = line.substr(14);
                const size_t colon = where.rfind(':');
                host_ = where.substr(0, colon);
                port_ = std::stoi(where.substr(colon + 1));
            } else if (line.rfind("listening pty ", 0) == 0 && ptyPath_.empty()) {
                ptyPath_ = line.substr(14);
            }
        }
    }
    ::close(out[0]);
    if (ready) {
        pid_ = pid;
        error_.clear();
        return true;
    }
    ::kill(pid, SIGKILL);
    int status = 0;
    WaitForExit(pid, status, std::chrono::milliseconds(5000));
    if (WIFEXITED(status)) fault += " (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
    host_.clear();
    port_ = 0;
    ptyPath_.clear();
    return false;
}

int SimProcess::Stop() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    if (!WaitForExit(pid_, status, std::chrono::milliseconds(5000))) {
        ::kill(pid_, SIGKILL);
        WaitForExit(pid_, status, std::chrono::milliseconds(5000));
        status = -1;
    }
    pid_ = -1;
    return status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::optional<SimFrame> SimProcess::ParseLogLine(const std::string& line) {
    SimFrame f;
    JsonLine parser(line);
    if (!parser.Parse(f)) return std::nullopt;
    return f;
}

std::vector<SimFrame> SimProcess::ReadLog() const {
    std::vector<SimFrame> frames;
    if (logPath_.empty()) return frames;
    std::ifstream in(logPath_, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    size_t start = 0;
    for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1) {
        if (auto f = ParseLogLine(text.substr(start, nl - start))) frames.push_back(std::move(*f));
    }
    return frames;
}

bool SimProcess::WaitForLog(const std::function<bool(const std::vector<SimFrame>&)>& done,
                            std::chrono::milliseconds timeout) const {
    const auto deadline = Clock::now() + timeout;
    int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (watch >= 0 && ::inotify_add_watch(watch, logPath_.c_str(), IN_MODIFY) < 0) {
        ::close(watch);
        watch = -1;
    }
    bool result = false;
    while (true) {
        if (done(ReadLog())) {
            result = true;
            break;
        }
        const int left = RemainingMs(deadline);
        if (left == 0) break;
        if (watch >= 0) {
            pollfd p{watch, POLLIN, 0};
            if (::poll(&p, 1, left) > 0) {
                char events[4096];
                while (::read(watch, events, sizeof events) > 0) {
                }
            }
        } else {
            pollfd none{};
            ::poll(&none, 0, left < 10 ? left : 10);
        }
    }
    if (watch >= 0) ::close(watch);
    return result;
}

std::unique_ptr<SimProcess> StartSim(TempDir& files, SimProcess::Options options, const std::string& state) {
    if (!state.empty()) {
        files.Write("state.txt", state);
        options.args.push_back("--state");
        options.args.push_back(files.File("state.txt"));
    }
    return std::make_unique<SimProcess>(options);
}

}  // namespace qs::test
