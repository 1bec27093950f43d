#include "wire/PtyEndpoint.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace sim {

PtyEndpoint::~PtyEndpoint() {
    if (!link_.empty()) {
        // Remove the link only while it still points at our slave.
        std::vector<char> target(slavePath_.size() + 2, '\0');
        ssize_t n = ::readlink(link_.c_str(), target.data(), target.size() - 1);
        if (n >= 0 && std::string(target.data(), static_cast<size_t>(n)) == slavePath_) ::unlink(link_.c_str());
    }
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

PtyEndpoint::Packet PtyEndpoint::Unpack(std::string_view read) {
    // Each read starts with a status byte: 0 before data, else flags alone.
    Packet p;
    if (read.empty()) return p;
    const auto status = static_cast<unsigned char>(read.front());
    if (status == TIOCPKT_DATA) {
        p.data = read.substr(1);
    } else {
        p.inputPurged = (status & TIOCPKT_FLUSHREAD) != 0;
    }
    return p;
}

std::string PtyEndpoint::Open(const std::string& link) {
    auto fail = [&](const std::string& what) { return what + ": " + std::strerror(errno); };
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) return fail("posix_openpt");
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return fail("unlockpt");
    int packet = 1;
    if (::ioctl(master_, TIOCPKT, &packet) != 0) return fail("TIOCPKT");
    const char* name = ::ptsname(master_);
    if (!name) return fail("ptsname");
    slavePath_ = name;
    slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) return fail(slavePath_);
    termios tio{};
    if (::tcgetattr(slave_, &tio) != 0) return fail("tcgetattr");
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    if (::tcsetattr(slave_, TCSANOW, &tio) != 0) return fail("tcsetattr");

    struct stat st{};
    if (::lstat(link.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) return link + ": exists and is not a symbolic link";
        if (::unlink(link.c_str()) != 0) return fail(link);
    }
    if (::symlink(slavePath_.c_str(), link.c_str()) != 0) return fail(link);
    link_ = link;
    return "";
}

}  // namespace sim
