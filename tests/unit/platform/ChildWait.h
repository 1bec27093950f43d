#pragma once
#include <poll.h>
#include <sys/pidfd.h>
#include <sys/types.h>
#include <unistd.h>

namespace qs::test {

// Waits, at most `timeoutMs`, until child `pid` has ended, without collecting it (it stays a
// zombie for the code under test to reap). False on time-out.
inline bool WaitChildEnded(pid_t pid, int timeoutMs = 5000) {
    int fd = ::pidfd_open(pid, 0);
    if (fd < 0) return false;
    pollfd p{fd, POLLIN, 0};
    int r = ::poll(&p, 1, timeoutMs);
    ::close(fd);
    return r == 1;
}

}  // namespace qs::test
