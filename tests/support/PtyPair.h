#pragma once
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qs::test {

// A pseudo-terminal whose master side the test plays as the device. The test keeps a slave
// descriptor of its own open for the pair's whole life: a master reads EIO while no slave is
// open, which would make the device side depend on the port under test.
class PtyPair {
public:
    PtyPair() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) throw std::runtime_error("no pty");
        const char* name = ::ptsname(master_);
        if (!name) throw std::runtime_error("no pty name");
        slavePath_ = name;
        slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave_ < 0) throw std::runtime_error("cannot open pty slave");
        termios t{};
        ::tcgetattr(slave_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slave_, TCSANOW, &t);
    }
    ~PtyPair() {
        if (slave_ >= 0) ::close(slave_);
        if (master_ >= 0) ::close(master_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // The device side goes away: the slave sees a hang-up.
    void CloseMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

    const std::string& SlavePath() const { return slavePath_; }
    int Master() const { return master_; }
    int Slave() const { return slave_; }

    // The device sends `bytes` and waits (bounded) until the line discipline has them ready
    // for the reader, so a purge or a read that follows sees them.
    void DeviceSends(std::string_view bytes) const {
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n <= 0) throw std::runtime_error("pty write failed");
            done += static_cast<size_t>(n);
        }
        pollfd p{slave_, POLLIN, 0};
        ::poll(&p, 1, 2000);
    }

    // What the device received: up to `count` bytes, waiting at most `timeoutMs` in all.
    std::string DeviceReceives(size_t count, int timeoutMs = 2000) const {
        std::string out;
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (out.size() < count) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
            char buf[256];
            size_t want = std::min(sizeof buf, count - out.size());
            ssize_t n = ::read(master_, buf, want);
            if (n <= 0) break;
            out.append(buf, static_cast<size_t>(n));
        }
        return out;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace qs::test
