#pragma once
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qs::test {

class TempDir;

// One line of the simulator's frame log.
struct SimFrame {
    std::string direction;  // "rx" (received by the simulator) or "tx" (sent by it)
    std::string transport;  // "tcp" or "pty"
    int link = 0;           // which connection or pty
    std::string kind;       // "frame", "noise" or "raw"
    std::string framing;    // "terminal", "mini" or ""
    bool binary = false;
    int address = -1;       // -1 when the frame had none
    std::string bytes;      // the bytes on the wire
    std::string text;       // the text or unescaped block after the address digits
    std::string error;      // why a received frame was not answered
    long long ms = 0;

    bool Received() const { return direction == "rx"; }
    bool Sent() const { return direction == "tx"; }
};

// Runs the duravane-sim program for one test: started with an argument vector (no shell) on
// its own loopback address 127.x.y.z (so simulators of tests running side by side can all use
// the fixed port 7734), waited for until it has said where it listens, stopped with SIGTERM
// and reaped when the object goes.
class SimProcess {
public:
    struct Options {
        std::vector<std::string> args{};  // further arguments (persona, faults, state ...)
        bool tcp = true;                // listen on TCP (an own loopback address unless `host` is set)
        bool pty = false;               // open a pty, linked in the helper's folder
        std::string host{};             // empty: an address of its own, 127.x.y.z
        int port = 7734;
        bool log = true;                // write the frame log into the helper's folder
        std::chrono::milliseconds startTimeout{10000};
    };

    explicit SimProcess(Options options);
    SimProcess() : SimProcess(Options{}) {}
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // False when it failed to start; Error() says why.
    bool Running() const { return pid_ > 0; }
    const std::string& Error() const { return error_; }
    pid_t Pid() const { return pid_; }

    const std::string& Host() const { return host_; }
    int Port() const { return port_; }
    const std::string& PtyPath() const { return ptyPath_; }
    const std::string& LogPath() const { return logPath_; }
    // A folder of this helper's own, removed with it (for state files and data sets).
    std::string Folder() const;

    // Every frame logged so far (an unreadable or half-written line is skipped).
    std::vector<SimFrame> ReadLog() const;
    // Waits until `done` holds for the log, re-reading it whenever it grows; false on time-out.
    bool WaitForLog(const std::function<bool(const std::vector<SimFrame>&)>& done,
                    std::chrono::milliseconds timeout = std::chrono::milliseconds(5000)) const;

    // SIGTERM, then waits (bounded; SIGKILL after 5 s). Returns the exit status, or -1 when it
    // was not running or died by a signal.
    int Stop();

    static std::string UniqueLoopbackAddress();
    static std::string ProgramPath();
    static std::optional<SimFrame> ParseLogLine(const std::string& line);

private:
    bool Start(const Options& options, const std::string& host, std::string& fault);

    std::unique_ptr<TempDir> dir_;
    pid_t pid_ = -1;
    std::string error_;
    std::string host_;
    int port_ = 0;
    std::string ptyPath_;
    std::string logPath_;
};

// Starts a simulator; a non-empty `state` is written to "state.txt" in `files` and passed as
// --state.
std::unique_ptr<SimProcess> StartSim(TempDir& files, SimProcess::Options options, const std::string& state);

}  // namespace qs::test
