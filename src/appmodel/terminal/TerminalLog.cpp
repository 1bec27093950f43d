#include "appmodel/terminal/TerminalLog.h"
#include "appmodel/terminal/TerminalText.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace qs {

namespace {

constexpr const char* kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

}  // namespace

std::string TerminalLog::StartedLine(std::time_t now) {
    std::tm t{};
    if (!localtime_r(&now, &t) || t.tm_wday < 0 || t.tm_wday > 6 || t.tm_mon < 0 || t.tm_mon > 11) t = std::tm{};
    char text[96];
    std::snprintf(text, sizeof text, "Log started %s, %s %02d, %d %02d:%02d:%02d\r\n", kDays[t.tm_wday],
                  kMonths[t.tm_mon], t.tm_mday, t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

int TerminalLog::Open(std::string_view text, std::time_t now) {
    const std::string_view name = TerminalText::Trim(text);
    if (name.empty() || name.find('\0') != std::string_view::npos) return -1;
    Close();
    const std::string path(name);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) return -1;
    fd_ = fd;
    path_ = path;
    Write(StartedLine(now));
    return 1;
}

void TerminalLog::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    path_.clear();
}

void TerminalLog::Write(std::string_view bytes) {
    while (fd_ >= 0 && !bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // a full disk loses the rest of this line, not the session
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

}  // namespace qs
