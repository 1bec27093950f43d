#pragma once
#include <string>

namespace sim {

// A listening TCP socket (non-blocking, close-on-exec, address reuse).
class TcpListener {
public:
    TcpListener() = default;
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    // Returns "" or the fault.
    std::string Open(const std::string& host, int port);
    int Fd() const { return fd_; }
    // "HOST:PORT" as bound (the port chosen by the system when 0 was asked).
    const std::string& Where() const { return where_; }
    // A new connection (non-blocking, no Nagle delay), or -1 when none is waiting.
    int Accept() const;

private:
    int fd_ = -1;
    std::string where_;
};

}  // namespace sim
