#include "link/ComHandleTable.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "link/SerialPort.h"
#include "platform/UiServices.h"

namespace qs {

namespace {

int g_lastError = 0;

}  // namespace

int ComHandle::ByteTimeoutMs() const { return SerialPort::ByteTimeoutMs(SerialPort::BaudIndexOf(settings_.baudRate)); }

bool ComHandle::Open() {
    // Input and output left from an earlier user of the line are dropped before and after the
    // new settings take hold.
    return device_.Open(SerialPathForCom(comPort_)) && device_.PurgeAll() && device_.Apply(settings_) &&
           device_.RaiseModemLines() && device_.PurgeAll();
}

bool ComHandle::Write(const char* data, size_t length) {
    // Room for the bytes at the line's speed (start, 8 data, parity and 2 stop bits each, the
    // most a character can take) and one byte's time-out besides.
    const uint32_t baud = settings_.baudRate ? settings_.baudRate : 1;
    const int64_t sendMs = static_cast<int64_t>(length) * 12 * 1000 / baud;
    const Clock& clock = UiClock();
    return device_.WriteAll(data, length, clock.NowMs() + sendMs + ByteTimeoutMs(), clock);
}

int ComHandle::Read(std::span<char> buffer, int length, int terminator, int64_t limitMs) {
    const bool terminated = terminator >= 0 && terminator <= 255;
    const int capacity = buffer.size() > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(buffer.size());
    int want;
    if (terminated) want = length <= 0 ? capacity : std::min(length, capacity);
    else want = length <= 0 ? 0 : std::min(length, capacity);

    const Clock& clock = UiClock();
    const int timeout = ByteTimeoutMs();
    int count = 0;
    if (terminated && want == 0) return -kStatusProtocolError;
    auto* bytes = reinterpret_cast<uint8_t*>(buffer.data());
    for (;;) {
        if (!terminated && count >= want) return count;
        // What has arrived is taken at once; each byte still to come is waited for afresh.
        int64_t deadline = clock.NowMs() + timeout;
        if (limitMs > 0) deadline = std::min(deadline, limitMs);
        size_t got = 0;
        switch (device_.Read(bytes + count, static_cast<size_t>(want - count), terminated ? terminator : -1, got,
                             deadline, clock)) {
        case SerialDevice::ReadResult::kByte: break;
        case SerialDevice::ReadResult::kTimeout: return -kStatusTimeout;
        case SerialDevice::ReadResult::kError: return -kStatusReceiveError;
        }
        count += static_cast<int>(got);
        if (terminated) {
            if (bytes[count - 1] == terminator) return count;
            if (count >= want) return -kStatusProtocolError;
        }
    }
}

std::array<std::weak_ptr<ComHandle>, ComHandleTable::kSlots>& ComHandleTable::Slots() {
    static std::array<std::weak_ptr<ComHandle>, kSlots> slots;
    return slots;
}

std::shared_ptr<ComHandle> ComHandleTable::Acquire(int comPort, const SerialSettings& settings, int& error) {
    if (!IsValidPort(comPort)) {
        error = ENODEV;
        return nullptr;
    }
    auto& slot = Slots()[static_cast<size_t>(comPort)];
    if (auto open = slot.lock()) return open;
    auto handle = std::make_shared<ComHandle>(comPort, settings);
    if (!handle->Open()) {
        error = handle->LastError();
        return nullptr;
    }
    slot = handle;
    return handle;
}

std::shared_ptr<ComHandle> ComHandleTable::Find(int comPort) {
    if (!IsValidPort(comPort)) return nullptr;
    return Slots()[static_cast<size_t>(comPort)].lock();
}

long ComHandleTable::UseCount(int comPort) {
    if (!IsValidPort(comPort)) return 0;
    return Slots()[static_cast<size_t>(comPort)].use_count();
}

bool ComPortWrite(int comPort, const char* data, int length) {
    auto handle = ComHandleTable::Find(comPort);
    if (!handle || !data || length < 0) {
        g_lastError = handle ? EINVAL : EBADF;
        return false;
    }
    if (handle->Write(data, static_cast<size_t>(length))) return true;
    g_lastError = handle->LastError();
    return false;
}

int ComPortRead(int comPort, std::span<char> buffer, int length, int terminator) {
    auto handle = ComHandleTable::Find(comPort);
    if (!handle) {
        g_lastError = EBADF;
        return -kStatusReceiveError;
    }
    int r = handle->Read(buffer, length, terminator);
    if (r == -kStatusProtocolError) g_lastError = ENOBUFS;
    else if (r < 0) g_lastError = handle->LastError();
    return r;
}

bool ComPortFlush(int comPort) {
    auto handle = ComHandleTable::Find(comPort);
    if (handle && handle->Device().Drain()) return true;
    g_lastError = handle ? handle->LastError() : EBADF;
    return false;
}

bool ComPortPurgeInput(int comPort) {
    auto handle = ComHandleTable::Find(comPort);
    if (handle && handle->Device().PurgeInput()) return true;
    g_lastError = handle ? handle->LastError() : EBADF;
    return false;
}

int ComPortLastError() { return g_lastError; }

int ComPortShowLastError(int error) {
    return ShowMessage(std::strerror(error ? error : EIO), MB_OK | MB_ICONINFORMATION, "Communications Error");
}

int ComPortShowLastError() { return ComPortShowLastError(g_lastError); }

}  // namespace qs
