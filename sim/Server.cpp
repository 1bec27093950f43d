#include "Server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace sim {

Server::Server(Controller& controller, FrameLog& log) : controller_(controller), log_(log), startUs_(0) {
    startUs_ = NowUs();
}

Server::~Server() {
    for (auto& link : links_) {
        if (link->transport == Transport::Tcp && link->fd >= 0) ::close(link->fd);
    }
}

int64_t Server::NowUs() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count() - startUs_;
}

std::string Server::AddTcp(const std::string& host, int port) {
    auto listener = std::make_unique<TcpListener>();
    if (std::string fault = listener->Open(host, port); !fault.empty()) return fault;
    listening_.push_back("listening tcp " + listener->Where());
    listeners_.push_back(std::move(listener));
    return "";
}

std::string Server::AddDisplayTcp(const std::string& host, int port) {
    auto listener = std::make_unique<TcpListener>();
    if (std::string fault = listener->Open(host, port); !fault.empty()) return fault;
    listening_.push_back("listening display " + listener->Where());
    displayListeners_.push_back(std::move(listener));
    return "";
}

std::string Server::AddPty(const std::string& path) {
    auto pty = std::make_unique<PtyEndpoint>();
    if (std::string fault = pty->Open(path); !fault.empty()) return fault;
    auto link = std::make_unique<Link>();
    link->fd = pty->MasterFd();
    link->transport = Transport::Pty;
    link->session = std::make_unique<Session>(controller_, Transport::Pty, nextLink_++);
    links_.push_back(std::move(link));
    listening_.push_back("listening pty " + pty->Link());
    ptys_.push_back(std::move(pty));
    return "";
}

int Server::PollTimeout() const {
    const int64_t now = NowUs();
    int64_t wait = -1;
    for (const auto& link : links_) {
        if (link->queue.empty()) continue;
        // Rounded up, so that a delayed reply never leaves before its time.
        const int64_t until = (link->queue.front().due - now + 999) / 1000;
        if (until > 0 && (wait < 0 || until < wait)) wait = until;
    }
    return static_cast<int>(std::min<int64_t>(wait, 60000));
}

void Server::Run(int wakeFd) {
    std::vector<pollfd> fds;
    while (true) {
        for (auto& link : links_) Flush(*link);
        links_.erase(std::remove_if(links_.begin(), links_.end(), [](const auto& l) { return l->closed; }), links_.end());

        fds.clear();
        fds.push_back({wakeFd, POLLIN, 0});
        for (const auto& l : listeners_) fds.push_back({l->Fd(), POLLIN, 0});
        for (const auto& l : displayListeners_) fds.push_back({l->Fd(), POLLIN, 0});
        const int64_t now = NowUs();
        for (const auto& link : links_) {
            short events = POLLIN;
            if (!link->queue.empty() && link->queue.front().due <= now) events |= POLLOUT;
            fds.push_back({link->fd, events, 0});
        }
        const int ready = ::poll(fds.data(), fds.size(), PollTimeout());
        if (ready < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents) return;
        size_t i = 1;
        for (const auto& l : listeners_) {
            if (fds[i++].revents & POLLIN) Accept(*l, false);
        }
        for (const auto& l : displayListeners_) {
            if (fds[i++].revents & POLLIN) Accept(*l, true);
        }
        // Links accepted just now are not in `fds`; they are polled next time round.
        const size_t polled = fds.size() - i;
        for (size_t k = 0; k < polled && k < links_.size(); ++k) {
            Link& link = *links_[k];
            const short revents = fds[i + k].revents;
            if (revents & (POLLIN | POLLHUP | POLLERR)) Read(link);
            if (!link.closed && (revents & POLLOUT)) Flush(link);
        }
    }
}

void Server::Accept(const TcpListener& listener, bool display) {
    for (int fd; (fd = listener.Accept()) >= 0;) {
        auto link = std::make_unique<Link>();
        link->fd = fd;
        link->transport = Transport::Tcp;
        if (display) {
            link->display = std::make_unique<DisplaySession>(controller_.Config().display,
                                                             DisplaySession::Mode::RemoteDisplay, Transport::Tcp, nextLink_++);
        } else {
            link->session = std::make_unique<Session>(controller_, Transport::Tcp, nextLink_++);
        }
        links_.push_back(std::move(link));
        if (display) Dispatch(*links_.back(), links_.back()->display->Start());
    }
}

void Server::Read(Link& link) {
    char buffer[65536];
    const ssize_t n = ::read(link.fd, buffer, sizeof buffer);
    if (n > 0) {
        std::string_view data(buffer, static_cast<size_t>(n));
        if (link.transport == Transport::Pty) {
            const PtyEndpoint::Packet packet = PtyEndpoint::Unpack(data);
            if (packet.inputPurged) Dispatch(link, link.session->OnInputPurged());
            if (link.closed || packet.data.empty()) return;
            data = packet.data;
        }
        Dispatch(link, link.display ? link.display->OnBytes(data) : link.session->OnBytes(data, NowUs() / 1000));
        return;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    // A pty master reads EIO only while no slave is open, which our own slave descriptor
    // prevents; a TCP peer that is gone ends its link.
    if (link.transport == Transport::Tcp) Close(link);
}

void Server::Dispatch(Link& link, std::vector<SessionEvent> events) {
    const int64_t now = NowUs();
    for (SessionEvent& e : events) {
        if (e.type == SessionEvent::Type::Received) {
            log_.Write(e.record, now / 1000);
            continue;
        }
        if (e.type == SessionEvent::Type::Discard) {
            Discard(link);
            continue;
        }
        Pending p;
        p.due = std::max(now + e.delayMs * 1000, link.lastDue);
        p.close = e.type == SessionEvent::Type::Close;
        p.logged = !e.log;
        p.wire = std::move(e.wire);
        p.record = std::move(e.record);
        link.lastDue = p.due;
        link.queued += p.wire.size();
        link.queue.push_back(std::move(p));
        Flush(link);
        if (link.closed) return;
    }
    if (link.queued > kMaxQueued) Close(link);
}

void Server::Flush(Link& link) {
    while (!link.closed && !link.queue.empty()) {
        Pending& p = link.queue.front();
        const int64_t now = NowUs();
        if (p.due > now) return;
        if (p.close) {
            // A pty cannot be hung up from this side; the fault only applies to TCP.
            if (link.transport == Transport::Tcp) {
                Close(link);
                return;
            }
            link.queue.pop_front();
            continue;
        }
        if (!p.logged) {
            log_.Write(p.record, now / 1000);
            p.logged = true;
        }
        while (p.offset < p.wire.size()) {
            const ssize_t n = link.transport == Transport::Tcp
                                  ? ::send(link.fd, p.wire.data() + p.offset, p.wire.size() - p.offset, MSG_NOSIGNAL)
                                  : ::write(link.fd, p.wire.data() + p.offset, p.wire.size() - p.offset);
            if (n > 0) {
                p.offset += static_cast<size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
            Close(link);
            return;
        }
        link.queued -= p.wire.size();
        link.queue.pop_front();
    }
}

void Server::Discard(Link& link) {
    // A frame already begun is finished (its later pieces are logged with its first), or the
    // other side would read its tail as the start of the next one.
    auto keep = std::find_if(link.queue.begin(), link.queue.end(), [](const Pending& p) { return !p.logged; });
    for (auto it = keep; it != link.queue.end(); ++it) link.queued -= it->wire.size();
    link.queue.erase(keep, link.queue.end());
    link.lastDue = link.queue.empty() ? 0 : link.queue.back().due;
}

void Server::Close(Link& link) {
    if (link.closed) return;
    if (link.transport == Transport::Pty) {
        // The pty stays for the program's next open; only what was queued for it is dropped.
        link.queue.clear();
        link.queued = 0;
        return;
    }
    ::close(link.fd);
    link.fd = -1;
    link.closed = true;
    link.queue.clear();
    link.queued = 0;
}

}  // namespace sim
