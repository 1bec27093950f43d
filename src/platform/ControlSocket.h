#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "platform/Clock.h"

namespace qs {

// What another process can tell the running Quillset. A second start asks it to restore and
// raise its window (no process may raise another's window on X11 or Wayland); an emulator
// says it has ended and given the device link back.
enum class ControlMessage { kRestore, kRemoteDisplayDone, kMmiDone };

// "RESTORE", "RemoteDisplayDone", "MMIDone": the words on the wire, one per line.
const char* ControlMessageText(ControlMessage message);
// The message a line names (exact, case and all; a trailing CR is allowed); nullopt otherwise.
std::optional<ControlMessage> ParseControlMessage(std::string_view line);

// The socket's name in the runtime folder.
inline constexpr const char kControlSocketName[] = "control.sock";

// The running instance's end of the control socket: a Unix-domain stream socket in the runtime
// folder, non-blocking and close-on-exec, that never blocks the user interface.
//
// Lines ("RESTORE\n" and the like) come from any number of short-lived clients; bytes may
// arrive in any pieces. A line longer than kMaxLineLength is dropped whole, an unknown line is
// ignored, a client silent for kClientIdleMs is dropped, and at most kMaxClients are read at
// once (later ones wait in the listen backlog, their lines already sent, until a place frees).
//
// Reading and acting are separate so that a message can wait: the GUI calls Pump() from a
// timer on every tick, also while a transfer pumps events (so clients are never left hanging
// in the backlog), and calls Take() only when no device command is in flight; whatever
// arrived meanwhile stays queued in order of arrival. A message already waiting in the queue
// is not queued twice (two RESTOREs restore once; one reconnect serves two "done"s).
class ControlSocket {
public:
    static constexpr size_t kMaxLineLength = 64;
    static constexpr size_t kMaxClients = 8;
    static constexpr int64_t kClientIdleMs = 5000;
    // Bytes read from one client and clients accepted in one Pump(): a flood cannot hold the
    // user interface.
    static constexpr size_t kMaxReadPerPump = 4096;
    static constexpr size_t kMaxAcceptsPerPump = 32;

    // Idle time-outs are measured on `clock` (a steady clock when null).
    explicit ControlSocket(const Clock* clock = nullptr);
    // Closes; removes the socket file if it is still the one this object made.
    ~ControlSocket();
    ControlSocket(const ControlSocket&) = delete;
    ControlSocket& operator=(const ControlSocket&) = delete;

    // Listens on <runtimeDir>/control.sock (runtimeDir empty: paths::RuntimeDir()). Only the
    // holder of the instance lock may listen; a file already there is not removed here (the
    // lock holder removes a stale one, see SingleInstance), so then this fails (EADDRINUSE).
    [[nodiscard]] bool Listen(const std::string& runtimeDir = {}, std::string* error = nullptr);
    void Close();

    bool IsListening() const { return listenFd_ >= 0; }
    const std::string& Path() const { return path_; }
    // The listening descriptor and those of the clients being read: readable ones mean
    // Pump() has work.
    int Fd() const { return listenFd_; }
    std::vector<int> Fds() const;
    size_t ClientCount() const { return clients_.size(); }

    // Reads whatever is pending, without blocking, and queues the complete messages.
    void Pump();
    // The queued messages in order of arrival; the queue is left empty.
    std::vector<ControlMessage> Take();
    bool HasQueued() const { return !queue_.empty(); }
    // Pump() then Take().
    std::vector<ControlMessage> Poll();

private:
    struct Client {
        int fd = -1;
        std::string line;
        bool discarding = false;  // inside an overlong line: skip to its end
        int64_t lastActivityMs = 0;
    };

    void AcceptPending();
    // False when the client is done (closed, failed or idle too long).
    bool ReadClient(Client& client);
    void TakeBytes(Client& client, const char* data, size_t length);
    void EndLine(Client& client);
    void Enqueue(ControlMessage message);
    int64_t Now() const;

    const Clock* clock_;
    int listenFd_ = -1;
    std::string path_;
    dev_t dev_ = 0;
    ino_t ino_ = 0;
    std::vector<Client> clients_;
    std::vector<ControlMessage> queue_;
};

// Sends one message to the instance listening in `runtimeDir` (empty: paths::RuntimeDir()).
// Retries while the socket is missing, refuses or is full (the instance may be starting), up
// to `timeoutMs` on a monotonic clock. True once the whole line is written to the socket.
bool SendControlMessage(const std::string& runtimeDir, ControlMessage message, int timeoutMs,
                        std::string* error = nullptr);

}  // namespace qs
