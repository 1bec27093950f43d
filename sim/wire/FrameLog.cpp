#include "wire/FrameLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sim {

FrameLog::~FrameLog() {
    if (fd_ >= 0) ::close(fd_);
}

std::string FrameLog::Open(const std::string& path) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    if (fd_ < 0) return path + ": " + std::strerror(errno);
    return "";
}

void FrameLog::Write(const LogRecord& record, int64_t ms) {
    if (fd_ < 0) return;
    const std::string line = Line(record, ms);
    size_t done = 0;
    while (done < line.size()) {
        ssize_t n = ::write(fd_, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // a full disk must not stop the device
        done += static_cast<size_t>(n);
    }
}

std::string FrameLog::JsonString(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out = "\"";
    for (char c : bytes) {
        auto b = static_cast<uint8_t>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (b >= 0x20 && b < 0x7F) {
            out.push_back(c);
        } else {
            out += "\\u00";
            out.push_back(digits[b >> 4]);
            out.push_back(digits[b & 0x0F]);
        }
    }
    out.push_back('"');
    return out;
}

std::string FrameLog::Line(const LogRecord& r, int64_t ms) {
    const char* framing = r.framing == Framing::Terminal ? "terminal" : r.framing == Framing::Mini ? "mini" : "";
    std::string line = "{\"ms\":" + std::to_string(ms);
    line += ",\"direction\":\"";
    line += r.sent ? "tx" : "rx";
    line += "\",\"transport\":\"";
    line += r.transport == Transport::Tcp ? "tcp" : "pty";
    line += "\",\"link\":" + std::to_string(r.link);
    line += ",\"kind\":" + JsonString(r.kind);
    line += ",\"framing\":" + JsonString(framing);
    line += ",\"binary\":";
    line += r.binary ? "true" : "false";
    line += ",\"address\":";
    line += r.address >= 0 ? std::to_string(r.address) : "null";
    line += ",\"hex\":\"" + ToHex(r.raw) + "\"";
    line += ",\"text\":" + JsonString(r.text);
    line += ",\"error\":" + JsonString(r.error);
    line += "}\n";
    return line;
}

}  // namespace sim
