// How soon Quillset's main window is on the screen, and what it holds in memory then, against
// a blank wx frame built the same way. Measured from outside, as a user sees it: the time runs
// from just before the program is started to the X server telling us its window is mapped,
// and the memory is the program's Rss and Pss (/proc/<pid>/smaps_rollup) at that moment and
// again once it has settled. The two programs take turns, each in a fresh home of its own, and
// the medians of each are compared. Needs an X server of its own (run it under xvfb-run -a):
// the window is found by its MapNotify on the root window, which a window manager would delay.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
    const char* label;
    std::string path;
    const char* title;  // of the window that counts as its first
};

struct Memory {
    double rssMb = 0;
    double pssMb = 0;
};

struct Sample {
    double ms = 0;
    Memory atMap;
    Memory settled;
};

std::optional<Memory> ReadMemory(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps_rollup");
    if (!in) return std::nullopt;
    Memory m;
    // The first line names the range; then one "Key: <n> kB" a line.
    std::string line;
    while (std::getline(in, line)) {
        long kb = 0;
        if (std::sscanf(line.c_str(), "Rss: %ld kB", &kb) == 1) m.rssMb = static_cast<double>(kb) / 1024.0;
        else if (std::sscanf(line.c_str(), "Pss: %ld kB", &kb) == 1) m.pssMb = static_cast<double>(kb) / 1024.0;
    }
    if (m.rssMb <= 0) return std::nullopt;
    return m;
}

// The window's title, read from the server (GTK sets it before it maps the window).
std::string TitleOf(Display* display, Window window) {
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 256, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data) {
        if (type == utf8 && format == 8) title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(display, window, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

// Waits for a top-level window with the title to be mapped; false on the deadline or when the
// program ended first.
bool WaitForMap(Display* display, pid_t pid, const char* title, Clock::time_point deadline) {
    const int fd = ConnectionNumber(display);
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && TitleOf(display, event.xmap.window) == title) return true;
        }
        if (::waitpid(pid, nullptr, WNOHANG) == pid) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(std::min<long long>(left, 50)));
    }
}

std::optional<Sample> RunOnce(Display* display, const Program& program, int settleMs) {
    // A fresh home each run: no profile, history or instance left by the one before.
    char pattern[] = "/tmp/qs-firstwindow-XXXXXX";
    if (!::mkdtemp(pattern)) return std::nullopt;
    const std::filesystem::path home = pattern;
    std::filesystem::create_directories(home / "config");
    std::filesystem::create_directories(home / "runtime");
    ::chmod((home / "runtime").c_str(), 0700);

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string_view v = *e;
        if (v.starts_with("XDG_CONFIG_HOME=") || v.starts_with("XDG_RUNTIME_DIR=") || v.starts_with("QUILLSET_"))
            continue;
        env.emplace_back(v);
    }
    env.push_back("XDG_CONFIG_HOME=" + (home / "config").string());
    env.push_back("XDG_RUNTIME_DIR=" + (home / "runtime").string());
    env.push_back("QUILLSET_INI=" + (home / "QS3X.INI").string());
    // The built dictionary, so start-up never tries to build it from a device.
    env.push_back(std::string("QUILLSET_DATA_DIR=") + QS_DATA_BUILD_DIR);
    std::vector<char*> envp;
    for (auto& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string path = program.path;
    char* argv[] = {path.data(), nullptr};

    XSync(display, True);  // nothing left over from the run before
    const pid_t parent = ::getpid();
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(127);
        ::execve(argv[0], argv, envp.data());
        ::_exit(127);
    }
    if (pid < 0) return std::nullopt;

    std::optional<Sample> sample;
    if (WaitForMap(display, pid, program.title, start + std::chrono::seconds(30))) {
        const auto mapped = Clock::now();
        Sample s;
        s.ms = std::chrono::duration<double, std::milli>(mapped - start).count();
        const auto atMap = ReadMemory(pid);
        std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
        const auto settled = ReadMemory(pid);
        if (atMap && settled) {
            s.atMap = *atMap;
            s.settled = *settled;
            sample = s;
        }
    } else {
        std::fprintf(stderr, "%s: no window titled \"%s\" was mapped\n", program.label, program.title);
    }
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 200 && ::waitpid(pid, nullptr, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (::kill(pid, 0) == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return sample;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Summary {
    double ms, rssMap, pssMap, rssSettled, pssSettled, minMs;
};

Summary Summarise(const std::vector<Sample>& samples) {
    auto pick = [&](auto field) {
        std::vector<double> v;
        for (const Sample& s : samples) v.push_back(field(s));
        return v;
    };
    const auto ms = pick([](const Sample& s) { return s.ms; });
    return {Median(ms),
            Median(pick([](const Sample& s) { return s.atMap.rssMb; })),
            Median(pick([](const Sample& s) { return s.atMap.pssMb; })),
            Median(pick([](const Sample& s) { return s.settled.rssMb; })),
            Median(pick([](const Sample& s) { return s.settled.pssMb; })),
            *std::min_element(ms.begin(), ms.end())};
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 15;
    int settleMs = 1000;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.starts_with("--runs=")) runs = std::clamp(std::atoi(a.c_str() + 7), 1, 1000);
        else if (a.starts_with("--settle-ms=")) settleMs = std::clamp(std::atoi(a.c_str() + 12), 0, 60000);
        else {
            std::fprintf(stderr, "usage: %s [--runs=N] [--settle-ms=MS]\n", argv[0]);
            return 2;
        }
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no display: run under xvfb-run -a\n");
        return 77;
    }
    // The programs started get no share of our connection.
    ::fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Program programs[] = {
        {"blank wx frame", std::string(QS_BIN_DIR) + "/bench-blank-frame", "Blank wx frame"},
        {"Quillset", std::string(QS_BIN_DIR) + "/quillset", "Quillset.NET"},
    };
    // One run of each first, unmeasured: both start with the libraries in the page cache.
    for (const Program& p : programs) RunOnce(display, p, 0);
    std::vector<Sample> samples[2];
    for (int r = 0; r < runs; ++r) {
        // Turns alternate which goes first, so neither always follows the other.
        for (int k = 0; k < 2; ++k) {
            const int which = (r + k) % 2;
            if (auto s = RunOnce(display, programs[which], settleMs)) samples[which].push_back(*s);
            else return 1;
        }
    }
    const Summary blank = Summarise(samples[0]);
    const Summary quillset = Summarise(samples[1]);
    std::printf("%d runs each, medians (memory settled = %d ms after the map)\n", runs, settleMs);
    std::printf("%-16s %9s %9s %9s %9s %9s %9s\n", "", "map ms", "min ms", "Rss MB", "Pss MB", "Rss set.", "Pss set.");
    for (int i = 0; i < 2; ++i) {
        const Summary& s = i == 0 ? blank : quillset;
        std::printf("%-16s %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f\n", programs[i].label, s.ms, s.minMs, s.rssMap, s.pssMap,
                    s.rssSettled, s.pssSettled);
    }
    std::printf("ratio            %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f\n", quillset.ms / blank.ms,
                quillset.minMs / blank.minMs, quillset.rssMap / blank.rssMap, quillset.pssMap / blank.pssMap,
                quillset.rssSettled / blank.rssSettled, quillset.pssSettled / blank.pssSettled);
    XCloseDisplay(display);
    return 0;
}
