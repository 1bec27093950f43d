#pragma once
#include <poll.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

namespace qs::test {

// Waits, at most `timeoutMs`, until child `pid` has ended, without collecting it (it stays a
// zombie for the code under test to reap). False on time-out.
inline bool WaitChildEnded(pid_t pid, int timeoutMs = 5000) {
    // Through syscall(): this C library's <sys/pidfd.h> lacks C linkage for C++.
    int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (fd < 0) return false;
    pollfd p{fd, POLLIN, 0};
    int r = ::poll(&p, 1, timeoutMs);
    ::close(fd);
    return r == 1;
}

}  // namespace qs::test
