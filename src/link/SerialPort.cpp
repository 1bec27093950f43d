#include "link/SerialPort.h"

#include "link/CommSettingsText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace qs {

namespace {

constexpr const char* kBaudTexts[SerialPort::kBaudCount] = {"600", "1200", "2400", "4800", "9600", "19200", "38400"};
constexpr uint32_t kBaudRates[SerialPort::kBaudCount] = {600, 1200, 2400, 4800, 9600, 19200, 38400};

}  // namespace

const char* SerialPort::BaudText(int baudIndex) {
    return baudIndex >= 0 && baudIndex < kBaudCount ? kBaudTexts[baudIndex] : "";
}

int SerialPort::BaudIndexOf(uint32_t baudRate) {
    for (int i = 0; i < kBaudCount - 1; ++i) {
        if (kBaudRates[i] == baudRate) return i;
    }
    return kBaudCount - 1;
}

char SerialPort::ParityLetter(int parity) { return parity >= 0 && parity <= 4 ? kParityLetters[parity] : '?'; }

int SerialPort::ByteTimeoutMs(int baudIndex) {
    if (baudIndex < 0 || baudIndex >= kBaudCount) baudIndex = kBaudCount - 1;
    return 1000 / (baudIndex + 1) + 2000;
}

SerialPort::SerialPort(int comPort, const SerialSettings& settings) {
    portNumber_ = comPort;
    status_ = kStatusOk;
    int error = 0;
    handle_ = ComHandleTable::Acquire(comPort, settings, error);
    if (!handle_) {
        status_ = kStatusCannotOpen;
        systemError_ = error;
        state_ = kStateClosed;
        return;
    }
    // What the line really runs with: a second opener of a line in use gets the first one's.
    const SerialSettings& used = handle_->Settings();
    baudIndex = BaudIndexOf(used.baudRate);
    parity = used.parity;
    dataBits = used.byteSize;
    stopBits = used.stopBits == ONESTOPBIT ? 1 : 2;
    state_ = kStateOpen;
}

SerialPort::~SerialPort() = default;

int SerialPort::Write(const char* data, int length) {
    if (state_ < kStateOpen || !data) return 0;
    if (length == 0) length = static_cast<int>(std::strlen(data));
    if (length < 0) {
        status_ = kStatusReceiveError;
        systemError_ = EINVAL;
        return 0;
    }
    if (!handle_->Write(data, static_cast<size_t>(length))) {
        status_ = kStatusReceiveError;
        systemError_ = handle_->LastError();
        return 0;
    }
    return length;
}

int SerialPort::Read(std::span<char> buffer, int length, int terminator) {
    if (state_ < kStateOpen) return 0;
    if (terminator == -1 && length == 0) terminator = '\n';
    int r = handle_->Read(buffer, length, terminator, waitLimit_);
    if (r < 0) {
        status_ = static_cast<PortStatus>(-r);
        systemError_ = r == -kStatusProtocolError ? ENOBUFS : handle_->LastError();
        return 0;
    }
    status_ = kStatusOk;
    state_ = kStateReadOk;
    return r;
}

int SerialPort::ReadWaitMs() const { return handle_ ? handle_->ByteTimeoutMs() : ByteTimeoutMs(baudIndex); }

void SerialPort::Flush() {
    if (state_ >= kStateOpen) handle_->Device().Drain();
}

void SerialPort::PurgeInput() {
    if (state_ >= kStateOpen) handle_->Device().PurgeInput();
}

std::string SerialPort::Describe(int address) const {
    if (state_ < kStateOpen) return "Comm Not Enabled";
    char text[96];
    std::snprintf(text, sizeof text, "Com%d:%s,%c,%d,%d Address:%d", portNumber_, BaudText(baudIndex),
                  ParityLetter(parity), dataBits, stopBits, address & 0xFF);
    return text;
}

}  // namespace qs
