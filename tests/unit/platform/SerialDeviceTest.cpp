#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include "PtyPair.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "platform/SerialDevice.h"

namespace qs::test {

namespace {

const SerialSettings kLine{38400, 8, NOPARITY, ONESTOPBIT};

// Bytes the line holds in the system, not yet read.
int Queued(const SerialDevice& dev) {
    int n = -1;
    return ::ioctl(dev.Fd(), FIONREAD, &n) == 0 ? n : -1;
}

// Waits (bounded) until the system holds `n` bytes for the line.
bool WaitQueued(const SerialDevice& dev, int n) {
    for (int i = 0; i < 200 && Queued(dev) < n; ++i) {
        pollfd p{dev.Fd(), POLLIN, 0};
        ::poll(&p, 1, 10);
    }
    return Queued(dev) == n;
}

std::string Take(SerialDevice& dev, size_t max, int terminator, int64_t deadlineMs) {
    uint8_t buf[64] = {};
    size_t got = 0;
    FakeClock clock;
    if (dev.Read(buf, max, terminator, got, clock.now + deadlineMs, clock) != SerialDevice::ReadResult::kByte) return "(none)";
    return std::string(reinterpret_cast<char*>(buf), got);
}

}  // namespace

TEST(SerialDevice, ComNumberMapsToTheConfiguredPath) {
    TempDir dir;
    dir.Write("QS3X.INI", "[ports]\ncom3=/dev/pts/77\nCOM5=\n[Other]\nCOM6=/dev/nope\n");
    ScopedEnv env("QUILLSET_INI", dir.File("QS3X.INI"));
    EXPECT_EQ(SerialPathForCom(3), "/dev/pts/77");
    EXPECT_EQ(SerialPathForCom(4), "/dev/ttyS3");
    EXPECT_EQ(SerialPathForCom(5), "/dev/ttyS4");
    EXPECT_EQ(SerialPathForCom(6), "/dev/ttyS5");
    EXPECT_EQ(SerialPathForCom(1), "/dev/ttyS0");
}

TEST(SerialDevice, OpenIsExclusiveUntilClosed) {
    PtyPair pty;
    SerialDevice first;
    ASSERT_TRUE(first.Open(pty.SlavePath())) << first.LastErrorText();
    EXPECT_TRUE(::fcntl(first.Fd(), F_GETFD) & FD_CLOEXEC);
    EXPECT_TRUE(::fcntl(first.Fd(), F_GETFL) & O_NONBLOCK);

    SerialDevice second;
    EXPECT_FALSE(second.Open(pty.SlavePath()));
    EXPECT_EQ(second.LastError(), EBUSY);
    EXPECT_FALSE(second.IsOpen());

    // Closing hands the line on: neither the lock nor the exclusive mode stays behind.
    first.Close();
    EXPECT_TRUE(second.Open(pty.SlavePath())) << second.LastErrorText();
}

TEST(SerialDevice, OpenFailuresKeepTheirReason) {
    SerialDevice dev;
    EXPECT_FALSE(dev.Open("/nonexistent/ttyX"));
    EXPECT_EQ(dev.LastError(), ENOENT);
    EXPECT_EQ(dev.LastErrorText(), std::strerror(ENOENT));
    EXPECT_FALSE(dev.Open("/dev/null"));  // not a terminal
    EXPECT_EQ(dev.LastError(), ENOTTY);
    EXPECT_FALSE(dev.IsOpen());
    uint8_t b = 0;
    EXPECT_EQ(dev.ReadByte(b, 0, SteadyClock()), SerialDevice::ReadResult::kError);
    EXPECT_FALSE(dev.WriteAll("x", 1, 0, SteadyClock()));
}

TEST(SerialDevice, FlowControlBytesAreData) {
    PtyPair pty;
    SerialDevice dev;
    ASSERT_TRUE(dev.Open(pty.SlavePath()));
    ASSERT_TRUE(dev.Apply(kLine));
    EXPECT_TRUE(dev.RaiseModemLines());  // a pty has no modem lines: not an error

    // An XOFF from the device must neither stop our output nor vanish from the input.
    pty.DeviceSends("\x13\x11");
    SteadyClock clock;
    ASSERT_TRUE(dev.WriteAll("A\x11\x13Z", 4, clock.NowMs() + 1000, clock));
    EXPECT_EQ(pty.DeviceReceives(4), "A\x11\x13Z");
    uint8_t b = 0;
    ASSERT_EQ(dev.ReadByte(b, clock.NowMs() + 1000, clock), SerialDevice::ReadResult::kByte);
    EXPECT_EQ(b, 0x13);
    ASSERT_EQ(dev.ReadByte(b, clock.NowMs() + 1000, clock), SerialDevice::ReadResult::kByte);
    EXPECT_EQ(b, 0x11);
    EXPECT_TRUE(dev.Drain());
}

TEST(SerialDevice, ReadByteWaitsUntilItsDeadlineOnly) {
    PtyPair pty;
    SerialDevice dev;
    ASSERT_TRUE(dev.Open(pty.SlavePath()));
    ASSERT_TRUE(dev.Apply(kLine));
    uint8_t b = 0;

    // The read looks at the clock once it has to wait: the byte comes then, the clock says
    // `late` ms of the 100 given have passed.
    FakeClock clock;
    const int64_t start = clock.now, deadline = start + 100;
    int64_t late = -1;
    clock.onRead = [&] {
        if (late < 0) return;
        pty.DeviceSends("k");
        clock.now = start + late;
        late = -1;
    };
    late = 99;
    EXPECT_EQ(dev.ReadByte(b, deadline, clock), SerialDevice::ReadResult::kByte);
    EXPECT_EQ(b, 'k');
    late = 100;
    EXPECT_EQ(dev.ReadByte(b, deadline, clock), SerialDevice::ReadResult::kTimeout);
    EXPECT_EQ(dev.LastError(), ETIMEDOUT);

    // A deadline already past still takes a byte that is waiting.
    b = 0;
    EXPECT_EQ(dev.ReadByte(b, deadline - 1, clock), SerialDevice::ReadResult::kByte);
    EXPECT_EQ(b, 'k');

    // A clock that does not move cannot hold the read beyond the time it was given.
    FakeClock frozen;
    EXPECT_EQ(dev.ReadByte(b, frozen.now + 100, frozen), SerialDevice::ReadResult::kTimeout);
}

TEST(SerialDevice, PurgeDropsWhatWasNotRead) {
    PtyPair pty;
    SerialDevice dev;
    ASSERT_TRUE(dev.Open(pty.SlavePath()));
    ASSERT_TRUE(dev.Apply(kLine));
    pty.DeviceSends("stale");
    ASSERT_TRUE(dev.PurgeInput());
    pty.DeviceSends("N");
    SteadyClock clock;
    uint8_t b = 0;
    ASSERT_EQ(dev.ReadByte(b, clock.NowMs() + 1000, clock), SerialDevice::ReadResult::kByte);
    EXPECT_EQ(b, 'N');
}

// The device side, a pty master in packet mode, is told of every flush of the line's input: a
// purge with nothing to drop must not disturb it, one with bytes to drop flushes as before.
TEST(SerialDevice, APurgeFlushesOnlyWhenSomethingCame) {
    PtyPair pty;
    int on = 1;
    ASSERT_EQ(::ioctl(pty.Master(), TIOCPKT, &on), 0);
    SerialDevice dev;
    ASSERT_TRUE(dev.Open(pty.SlavePath()));
    ASSERT_TRUE(dev.Apply(kLine));
    auto deviceToldOfFlush = [&] {
        pollfd p{pty.Master(), POLLIN | POLLPRI, 0};
        if (::poll(&p, 1, 0) <= 0) return false;
        unsigned char status[64] = {};
        return ::read(pty.Master(), status, sizeof status) >= 1 && (status[0] & TIOCPKT_FLUSHREAD) != 0;
    };
    ASSERT_FALSE(deviceToldOfFlush()) << "nothing pending before the test";
    ASSERT_TRUE(dev.PurgeInput());
    EXPECT_FALSE(deviceToldOfFlush());
    pty.DeviceSends("stale");
    ASSERT_TRUE(dev.PurgeInput());
    EXPECT_TRUE(deviceToldOfFlush());
    EXPECT_EQ(Queued(dev), 0);
}

// A read right after a purge that found the line empty answers as any other read: what came
// since is taken (also when its deadline has passed), silence is a time-out and a line that
// hung up an error.
TEST(SerialDevice, AReadAfterAnEmptyPurgeAnswersAsAnyOther) {
    enum class Then { kByteComes, kSilence, kHangUp };
    const struct {
        Then then;
        int64_t deadline;  // from now
        SerialDevice::ReadResult result;
        int error;
    } rows[] = {
        {Then::kByteComes, 1000, SerialDevice::ReadResult::kByte, 0},
        {Then::kByteComes, -1, SerialDevice::ReadResult::kByte, 0},
        {Then::kSilence, -1, SerialDevice::ReadResult::kTimeout, ETIMEDOUT},
        {Then::kSilence, 20, SerialDevice::ReadResult::kTimeout, ETIMEDOUT},
        {Then::kHangUp, 5000, SerialDevice::ReadResult::kError, EIO},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.then) * 10000 + row.deadline);
        PtyPair pty;
        SerialDevice dev;
        ASSERT_TRUE(dev.Open(pty.SlavePath()));
        ASSERT_TRUE(dev.Apply(kLine));
        ASSERT_TRUE(dev.PurgeInput());
        if (row.then == Then::kByteComes) pty.DeviceSends("k");
        if (row.then == Then::kHangUp) pty.CloseMaster();
        SteadyClock clock;
        uint8_t b = 0;
        EXPECT_EQ(dev.ReadByte(b, clock.NowMs() + row.deadline, clock), row.result);
        if (row.result == SerialDevice::ReadResult::kByte) EXPECT_EQ(b, 'k');
        else EXPECT_EQ(dev.LastError(), row.error);
    }
}

TEST(SerialDevice, ReadsTakeWhatHasArrivedAndKeepTheRestForTheNext) {
    PtyPair pty;
    SerialDevice dev;
    ASSERT_TRUE(dev.Open(pty.SlavePath()));
    ASSERT_TRUE(dev.Apply(kLine));
    pty.DeviceSends("AB\nCD\nEF");
    ASSERT_TRUE(WaitQueued(dev, 8));
    // One read takes everything from the system; each call gets up to its terminator.
    EXPECT_EQ(Take(dev, 16, '\n', 100), "AB\n");
    EXPECT_EQ(Queued(dev), 0);
    EXPECT_EQ(Take(dev, 16, '\n', -1), "CD\n") << "served without waiting";
    EXPECT_EQ(Take(dev, 1, -1, -1), "E");
    EXPECT_EQ(Take(dev, 16, -1, -1), "F");
    EXPECT_EQ(Take(dev, 16, -1, 0), "(none)");
    EXPECT_EQ(dev.LastError(), ETIMEDOUT);

    // The purges drop what the line's own buffer holds too.
    for (bool all : {false, true}) {
        pty.DeviceSends("XY\nZZ");
        ASSERT_TRUE(WaitQueued(dev, 5));
        EXPECT_EQ(Take(dev, 16, '\n', 100), "XY\n");
        ASSERT_TRUE(all ? dev.PurgeAll() : dev.PurgeInput());
        pty.DeviceSends("N");
        EXPECT_EQ(Take(dev, 16, -1, 1000), "N");
    }
}

TEST(SerialDevice, HangUpIsAnErrorNotATimeout) {
    PtyPair pty;
    SerialDevice dev;
    ASSERT_TRUE(dev.Open(pty.SlavePath()));
    ASSERT_TRUE(dev.Apply(kLine));
    pty.CloseMaster();
    SteadyClock clock;
    uint8_t b = 0;
    // Not waited out: an error at once, where a time-out would have come only after 5 s.
    EXPECT_EQ(dev.ReadByte(b, clock.NowMs() + 5000, clock), SerialDevice::ReadResult::kError);
    EXPECT_EQ(dev.LastError(), EIO);
}

}  // namespace qs::test
