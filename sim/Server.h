#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "device/Controller.h"
#include "display/DisplaySession.h"
#include "wire/FrameLog.h"
#include "wire/PtyEndpoint.h"
#include "Session.h"
#include "wire/TcpListener.h"

namespace sim {

// The single-threaded poll() loop that serves every listener, TCP connection and pty at once.
// Replies go out the moment they are made; only an injected delay holds one back, and while it
// waits the other links are served.
class Server {
public:
    // A link whose unsent output passes this is given up (a peer that never reads).
    static constexpr size_t kMaxQueued = 16u << 20;

    Server(Controller& controller, FrameLog& log);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Each returns "" or the fault, and adds its "listening ..." line.
    std::string AddTcp(const std::string& host, int port);
    std::string AddPty(const std::string& link);
    // The display port: every connection gets the demo screens.
    std::string AddDisplayTcp(const std::string& host, int port);
    const std::vector<std::string>& Listening() const { return listening_; }

    // Serves until `wakeFd` becomes readable.
    void Run(int wakeFd);

private:
    struct Pending {
        Bytes wire;
        size_t offset = 0;
        int64_t due = 0;  // microseconds
        LogRecord record;
        bool logged = false;
        bool close = false;
    };
    struct Link {
        int fd = -1;
        Transport transport = Transport::Tcp;
        std::unique_ptr<Session> session;
        std::unique_ptr<DisplaySession> display;  // a display-port connection instead
        std::deque<Pending> queue;
        size_t queued = 0;
        int64_t lastDue = 0;
        bool closed = false;
    };

    // Microseconds since the start; the log shows milliseconds.
    int64_t NowUs() const;
    void Accept(const TcpListener& listener, bool display);
    void Read(Link& link);
    void Dispatch(Link& link, std::vector<SessionEvent> events);
    void Flush(Link& link);
    // Drops what is queued and not yet begun.
    void Discard(Link& link);
    void Close(Link& link);
    int PollTimeout() const;

    Controller& controller_;
    FrameLog& log_;
    int64_t startUs_;
    int nextLink_ = 1;
    std::vector<std::unique_ptr<TcpListener>> listeners_;
    std::vector<std::unique_ptr<TcpListener>> displayListeners_;
    std::vector<std::unique_ptr<PtyEndpoint>> ptys_;
    std::vector<std::unique_ptr<Link>> links_;
    std::vector<std::string> listening_;
};

}  // namespace sim
