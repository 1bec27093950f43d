#include "wire/PtyEndpoint.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <string>

#include "TempDir.h"

namespace sim::test {
namespace {

using namespace std::string_literals;

TEST(SimPtyPacket, StatusByteSplitsDataFromPurges) {
    struct Row {
        std::string read;
        std::string data;
        bool purged;
    };
    const Row rows[] = {
        {"\0abc"s, "abc", false},
        {"\0\x01\x02"s, "\x01\x02", false},
        {std::string(1, TIOCPKT_FLUSHREAD), "", true},
        {std::string(1, TIOCPKT_FLUSHREAD | TIOCPKT_FLUSHWRITE), "", true},
        {std::string(1, TIOCPKT_FLUSHWRITE), "", false},
        {"", "", false},
    };
    for (const Row& row : rows) {
        const PtyEndpoint::Packet p = PtyEndpoint::Unpack(row.read);
        EXPECT_EQ(p.data, row.data);
        EXPECT_EQ(p.inputPurged, row.purged) << row.read.size();
    }
}

// What one read of the master brings, waiting a bounded while for it.
std::string ReadMaster(int fd) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 5000) <= 0) return {};
    char buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

TEST(SimPtyEndpoint, TheProgramsPurgeAndBytesBothReachTheMaster) {
    qs::test::TempDir dir;
    PtyEndpoint pty;
    ASSERT_EQ(pty.Open(dir.File("COM5")), "");
    const int fd = ::open(dir.File("COM5").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(pty.MasterFd(), "stale", 5), 5);
    ASSERT_EQ(::tcflush(fd, TCIFLUSH), 0);
    EXPECT_TRUE(PtyEndpoint::Unpack(ReadMaster(pty.MasterFd())).inputPurged);
    char none = 0;
    EXPECT_LT(::read(fd, &none, 1), 1) << "the purge took the bytes sent before it";
    ASSERT_EQ(::write(fd, "key", 3), 3);
    const std::string got = ReadMaster(pty.MasterFd());
    const PtyEndpoint::Packet p = PtyEndpoint::Unpack(got);
    EXPECT_FALSE(p.inputPurged);
    EXPECT_EQ(p.data, "key");
    ::close(fd);
}

}  // namespace
}  // namespace sim::test
