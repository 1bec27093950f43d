#include "emulators/display/SerialDisplayPort.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>

namespace qs::display {

SerialDisplayPort::OpenResult SerialDisplayPort::Open(const std::string& path) {
    Close();
    // A file that opens but is no serial line cannot be set up, as on a port without a state.
    if (!device_.Open(path)) return device_.LastError() == ENOTTY ? OpenResult::kCannotSetUp : OpenResult::kCannotOpen;
    SerialSettings settings;
    settings.baudRate = 38400;
    settings.byteSize = 8;
    settings.parity = NOPARITY;
    settings.stopBits = ONESTOPBIT;
    device_.PurgeAll();
    if (!device_.Apply(settings)) {
        device_.Close();
        return OpenResult::kCannotSetUp;
    }
    device_.RaiseModemLines();
    device_.PurgeAll();
    return OpenResult::kOk;
}

int SerialDisplayPort::ReadByte(int64_t deadlineMs) {
    if (!device_.IsOpen()) return -1;
    uint8_t byte = 0;
    return device_.ReadByte(byte, deadlineMs, clock_) == SerialDevice::ReadResult::kByte ? byte : -1;
}

void SerialDisplayPort::Write(std::span<const uint8_t> frame) {
    // A key that cannot be written within its deadline is dropped: the device sees a missed
    // key press, and a line that has gone shows at the next read.
    if (device_.IsOpen()) (void)device_.WriteAll(frame.data(), frame.size(), clock_.NowMs() + kWriteTimeoutMs, clock_);
}

void SerialDisplayPort::Close() {
    if (!device_.IsOpen()) return;
    // tcdrain could wait for ever on a line nobody reads; the output queue is watched instead.
    const int64_t deadline = clock_.NowMs() + kDrainTimeoutMs;
    for (int queued = 0; ::ioctl(device_.Fd(), TIOCOUTQ, &queued) == 0 && queued > 0 && clock_.NowMs() < deadline;) {
        ::poll(nullptr, 0, 10);
    }
    device_.Close();
}

}  // namespace qs::display
