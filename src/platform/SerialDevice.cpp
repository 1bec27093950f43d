#include "platform/SerialDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/IniProfile.h"
#include "platform/Paths.h"

namespace qs {

namespace {

struct SpeedEntry {
    uint32_t rate;
    speed_t constant;
};

constexpr SpeedEntry kSpeeds[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
#ifdef B57600
    {57600, B57600},
#endif
#ifdef B115200
    {115200, B115200},
#endif
#ifdef B230400
    {230400, B230400},
#endif
#ifdef B460800
    {460800, B460800},
#endif
#ifdef B921600
    {921600, B921600},
#endif
};

// Milliseconds left until `deadlineMs`, clipped to what poll takes.
int Remaining(int64_t deadlineMs, const Clock& clock) {
    int64_t left = deadlineMs - clock.NowMs();
    if (left <= 0) return 0;
    return left > INT_MAX ? INT_MAX : static_cast<int>(left);
}

}  // namespace

std::optional<speed_t> SpeedConstant(uint32_t baudRate) {
    for (const auto& s : kSpeeds) {
        if (s.rate == baudRate) return s.constant;
    }
    return std::nullopt;
}

std::optional<termios> MakeTermios(const SerialSettings& settings) {
    auto speed = SpeedConstant(settings.baudRate);
    if (!speed) return std::nullopt;

    termios t{};
    // Raw: no input or output processing, no echo, no signals, no canonical lines. VMIN and
    // VTIME 0 so that even a read without O_NONBLOCK never blocks: waits are polls.
    t.c_iflag = 0;
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    // CLOCAL: the device is reached without modem control; HUPCL drops DTR at the last close,
    // so the device sees a closed port as closed.
    t.c_cflag = CREAD | CLOCAL | HUPCL;

    switch (settings.byteSize) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    case 8: t.c_cflag |= CS8; break;
    default: return std::nullopt;
    }

    switch (settings.stopBits) {
    case ONESTOPBIT: break;
    case TWOSTOPBITS: t.c_cflag |= CSTOPB; break;
    default: return std::nullopt;  // one and a half stop bits have no termios form
    }

    switch (settings.parity) {
    case NOPARITY: break;
    case ODDPARITY: t.c_cflag |= PARENB | PARODD; break;
    case EVENPARITY: t.c_cflag |= PARENB; break;
#ifdef CMSPAR
    case MARKPARITY: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case SPACEPARITY: t.c_cflag |= PARENB | CMSPAR; break;
#endif
    default: return std::nullopt;
    }
    // A byte received with a parity fault reads as 0, so the reply fails its checks instead
    // of passing with a flipped bit.
    if (t.c_cflag & PARENB) t.c_iflag |= INPCK;

    if (cfsetispeed(&t, *speed) != 0 || cfsetospeed(&t, *speed) != 0) return std::nullopt;
    return t;
}

std::string SerialPathForCom(int comPort) {
    const std::string fallback = "/dev/ttyS" + std::to_string(comPort - 1);
    std::string path = IniProfile(paths::IniPath()).GetString("Ports", "COM" + std::to_string(comPort), fallback);
    return path.empty() ? fallback : path;
}

SerialDevice::~SerialDevice() { Close(); }

bool SerialDevice::Fail(int error) {
    error_ = error ? error : EIO;
    return false;
}

std::string SerialDevice::LastErrorText() const { return std::strerror(error_ ? error_ : EIO); }

bool SerialDevice::Open(const std::string& path) {
    Close();
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Fail(errno);
    // The lock is what keeps two openers apart: root is not kept out by TIOCEXCL.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int e = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return Fail(e);
    }
    termios current{};
    if (::tcgetattr(fd, &current) != 0) {
        int e = errno;
        ::close(fd);
        return Fail(e);
    }
    fd_ = fd;
    exclusive_ = ::ioctl(fd_, TIOCEXCL) == 0;
    error_ = 0;
    return true;
}

void SerialDevice::Close() {
    DropBuffered();
    if (fd_ < 0) return;
    // Left set, TIOCEXCL outlives us on a pty and the next opener gets EBUSY.
    if (exclusive_) ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    exclusive_ = false;
}

namespace {

bool IsPtySlave(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    unsigned maj = major(st.st_rdev);
    return maj >= 136 && maj <= 143;  // the Unix98 pty slave majors
}

}  // namespace

bool SerialDevice::Apply(const SerialSettings& settings) {
    if (fd_ < 0) return Fail(EBADF);
    auto t = MakeTermios(settings);
    if (!t) return Fail(EINVAL);
    if (IsPtySlave(fd_)) {
        // A pty carries bytes only: the kernel stores 8 data bits and no parity whatever it is
        // given, and refuses a later change that asks for anything else. Ask for what it keeps.
        t->c_cflag = (t->c_cflag & ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR)) | CS8;
        t->c_iflag &= ~static_cast<tcflag_t>(INPCK);
    }
    if (::tcsetattr(fd_, TCSANOW, &*t) != 0) return Fail(errno);
    return true;
}

bool SerialDevice::RaiseModemLines() {
    if (fd_ < 0) return Fail(EBADF);
    int bits = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd_, TIOCMBIS, &bits) != 0) {
        if (errno == ENOTTY || errno == EINVAL) return true;  // no modem lines (a pty)
        return Fail(errno);
    }
    return true;
}

bool SerialDevice::PurgeInput() {
    DropBuffered();
    if (fd_ < 0) return Fail(EBADF);
    // Every command purges, and mostly nothing has come since the last reply: a look costs less
    // than a flush (which on a pty also wakes the other end). Anything there at all (bytes, a
    // hang-up, an error) is left to the flush as before.
    pollfd pfd{fd_, POLLIN, 0};
    if (::poll(&pfd, 1, 0) == 0) {
        lookedEmpty_ = true;
        return true;
    }
    return ::tcflush(fd_, TCIFLUSH) == 0 || Fail(errno);
}

bool SerialDevice::PurgeAll() {
    DropBuffered();
    if (fd_ < 0) return Fail(EBADF);
    return ::tcflush(fd_, TCIOFLUSH) == 0 || Fail(errno);
}

bool SerialDevice::Drain() {
    if (fd_ < 0) return Fail(EBADF);
    while (::tcdrain(fd_) != 0) {
        if (errno != EINTR) return Fail(errno);
    }
    return true;
}

bool SerialDevice::WriteAll(const void* data, size_t length, int64_t deadlineMs, const Clock& clock) {
    if (fd_ < 0) return Fail(EBADF);
    const auto* p = static_cast<const uint8_t*>(data);
    while (length > 0) {
        ssize_t n = ::write(fd_, p, length);
        if (n > 0) {
            p += n;
            length -= static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return Fail(errno);
        int wait = Remaining(deadlineMs, clock);
        if (wait == 0) return Fail(ETIMEDOUT);
        pollfd pfd{fd_, POLLOUT, 0};
        int r = ::poll(&pfd, 1, wait);
        if (r < 0 && errno != EINTR) return Fail(errno);
        if (r == 0) return Fail(ETIMEDOUT);
        if (r > 0 && (pfd.revents & (POLLERR | POLLNVAL))) return Fail(EIO);
    }
    return true;
}

SerialDevice::ReadResult SerialDevice::ReadByte(uint8_t& byte, int64_t deadlineMs, const Clock& clock) {
    size_t got = 0;
    return Read(&byte, 1, -1, got, deadlineMs, clock);
}

SerialDevice::ReadResult SerialDevice::Read(uint8_t* out, size_t max, int terminator, size_t& got, int64_t deadlineMs,
                                            const Clock& clock) {
    got = 0;
    if (max == 0) return ReadResult::kByte;
    if (inBegin_ == inEnd_) {
        const ReadResult r = Fill(deadlineMs, clock);
        if (r != ReadResult::kByte) return r;
    }
    size_t n = std::min(max, inEnd_ - inBegin_);
    if (terminator >= 0 && terminator <= 255) {
        if (const void* end = std::memchr(inbox_.data() + inBegin_, terminator, n))
            n = static_cast<size_t>(static_cast<const uint8_t*>(end) - (inbox_.data() + inBegin_)) + 1;
    }
    std::memcpy(out, inbox_.data() + inBegin_, n);
    inBegin_ += n;
    got = n;
    return ReadResult::kByte;
}

SerialDevice::ReadResult SerialDevice::Fill(int64_t deadlineMs, const Clock& clock) {
    if (fd_ < 0) {
        Fail(EBADF);
        return ReadResult::kError;
    }
    // What has arrived is taken before any wait; right after a purge that found the line empty
    // (the common case: a command just sent) the poll alone sees whatever came since.
    bool look = !lookedEmpty_;
    DropBuffered();
    bool readable = false;  // the last poll said a byte was there
    for (;;) {
        if (look) {
            ssize_t n = ::read(fd_, inbox_.data(), inbox_.size());
            if (n > 0) {
                inEnd_ = static_cast<size_t>(n);
                return ReadResult::kByte;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
                Fail(errno);
                return ReadResult::kError;
            }
            // Readable but nothing to read: the line has hung up.
            if (n == 0 && readable) {
                Fail(EIO);
                return ReadResult::kError;
            }
        }
        int wait = Remaining(deadlineMs, clock);
        if (wait == 0) {
            // A deadline already past still takes what is there: look once before giving up.
            if (!look) {
                look = true;
                continue;
            }
            Fail(ETIMEDOUT);
            return ReadResult::kTimeout;
        }
        pollfd pfd{fd_, POLLIN, 0};
        int r = ::poll(&pfd, 1, wait);
        if (r < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
            return ReadResult::kError;
        }
        // A poll that ran its time out is the end even when the clock says otherwise (a clock
        // that does not move must not make the wait endless).
        if (r == 0) {
            Fail(ETIMEDOUT);
            return ReadResult::kTimeout;
        }
        if ((pfd.revents & (POLLERR | POLLNVAL)) || ((pfd.revents & POLLHUP) && !(pfd.revents & POLLIN))) {
            Fail(EIO);
            return ReadResult::kError;
        }
        readable = (pfd.revents & POLLIN) != 0;
        look = true;
    }
}

}  // namespace qs
