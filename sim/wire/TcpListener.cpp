#include "wire/TcpListener.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sim {

TcpListener::~TcpListener() {
    if (fd_ >= 0) ::close(fd_);
}

std::string TcpListener::Open(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0) {
        return host + ": " + ::gai_strerror(rc);
    }
    std::string fault = host + ":" + service + ": no address";
    for (addrinfo* a = found; a; a = a->ai_next) {
        int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            fault = host + ":" + service + ": " + std::strerror(errno);
            continue;
        }
        int one = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (::bind(fd, a->ai_addr, a->ai_addrlen) != 0 || ::listen(fd, 16) != 0) {
            fault = host + ":" + service + ": " + std::strerror(errno);
            ::close(fd);
            continue;
        }
        fd_ = fd;
        break;
    }
    ::freeaddrinfo(found);
    if (fd_ < 0) return fault;

    sockaddr_storage bound{};
    socklen_t len = sizeof bound;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&bound), &len);
    char text[INET6_ADDRSTRLEN] = "?";
    int boundPort = port;
    if (bound.ss_family == AF_INET) {
        auto* in = reinterpret_cast<sockaddr_in*>(&bound);
        ::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
        boundPort = ntohs(in->sin_port);
        where_ = std::string(text) + ":" + std::to_string(boundPort);
    } else if (bound.ss_family == AF_INET6) {
        auto* in6 = reinterpret_cast<sockaddr_in6*>(&bound);
        ::inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof text);
        boundPort = ntohs(in6->sin6_port);
        where_ = "[" + std::string(text) + "]:" + std::to_string(boundPort);
    }
    return "";
}

int TcpListener::Accept() const {
    int fd = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return -1;
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

}  // namespace sim
