// Runs the real duravane-sim program and talks raw bytes to it over loopback TCP and a pty.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "device/DefinitionRequests.h"
#include "device/DictionaryParser.h"
#include "Options.h"
#include "SimProcess.h"
#include "TempDir.h"

namespace sim::test {

using namespace std::string_literals;
using qs::test::SimFrame;
using qs::test::SimProcess;
using qs::test::TempDir;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kWait = std::chrono::milliseconds(5000);

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

int ConnectTcp(const std::string& host, int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, host.c_str(), &addr.sin_addr);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

int OpenPty(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

bool SendAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Reads one reply: up to LF (Terminal) or ETX and the two bytes after it (Minicomputer).
// Returns what came before the deadline.
std::string ReadReply(int fd, bool mini, std::chrono::milliseconds timeout = kWait) {
    const auto deadline = Clock::now() + timeout;
    std::string got;
    size_t etxAt = std::string::npos;
    while (true) {
        if (!mini && !got.empty() && got.back() == '\n') return got;
        if (mini && etxAt != std::string::npos && got.size() >= etxAt + 3) return got;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd p{fd, POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) return got;
        char c;
        if (::read(fd, &c, 1) != 1) return got;
        got.push_back(c);
        if (mini && c == '\x03' && etxAt == std::string::npos) etxAt = got.size() - 1;
    }
}

// True when the peer closed the connection before the deadline.
bool ClosedByPeer(int fd) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(kWait.count())) <= 0) return false;
    char c;
    return ::read(fd, &c, 1) <= 0;
}

std::string Be16(uint16_t v) { return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}; }
std::string Be32(uint32_t v) { return Be16(static_cast<uint16_t>(v >> 16)) + Be16(static_cast<uint16_t>(v)); }

// A block request as the program frames it (escaped, LRC, 0x7F, 0x00), written out by hand.
std::string BlockFrame(const std::string& block) {
    std::string body = "01";
    for (char c : block) {
        switch (c) {
        case '\x02': body += "\x1BS"; break;
        case '\x03': body += "\x1B" "E"; break;
        case '\x7F': body += "\x1BP"; break;
        case '\x1B': body += "\x1B\x1B"; break;
        default: body.push_back(c);
        }
    }
    body.push_back('\x03');
    uint8_t lrc = 0;
    for (char c : body) lrc ^= static_cast<uint8_t>(c);
    return "\x02" + body + std::string{static_cast<char>(lrc), '\x7F', '\0'};
}

// The block inside a reply frame, unescaped (address digits, ETX and trailer removed).
std::string BlockOf(const std::string& frame) {
    std::string out;
    if (frame.size() < 6) return out;
    for (size_t i = 3; i + 3 < frame.size(); ++i) {
        if (frame[i] == '\x1B' && i + 4 < frame.size()) {
            const char e = frame[++i];
            out.push_back(e == 'S' ? '\x02' : e == 'E' ? '\x03' : e == 'P' ? '\x7F' : e == '\x1B' ? '\x1B' : '\0');
        } else {
            out.push_back(frame[i]);
        }
    }
    return out;
}

uint32_t Crc32Reference(const std::string& data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (char c : data) {
        crc ^= static_cast<uint8_t>(c);
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

// Runs the program with `args` and returns its exit status and standard output (or, with
// `errors`, its standard error).
std::pair<int, std::string> RunProgram(std::vector<std::string> args, bool errors = false) {
    args.insert(args.begin(), SimProcess::ProgramPath());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return {-1, ""};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], errors ? STDERR_FILENO : STDOUT_FILENO);
        int devnull = ::open("/dev/null", O_WRONLY);
        ::dup2(devnull, errors ? STDOUT_FILENO : STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    std::string text;
    const auto deadline = Clock::now() + kWait;
    while (true) {
        pollfd p{out[0], POLLIN, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) break;
        char buffer[4096];
        ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(out[0]);
    ::kill(pid, SIGKILL);  // harmless when it has ended already
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

}  // namespace

TEST(SimProgram, AnswersBothFramingsOverTcpAndLogsEveryFrame) {
    TempDir files;
    files.Write("state.txt", "SY 111 3 5\n");
    // Without the dictionary only the state file's codes exist, and take any value.
    SimProcess sim({.args = {"--state", files.File("state.txt"), "--no-dictionary"}});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    EXPECT_EQ(sim.Port(), 7734);
    EXPECT_EQ(sim.Host().rfind("127.", 0), 0u);
    EXPECT_NE(sim.Host(), "127.0.0.1");
    Fd conn(ConnectTcp(sim.Host(), sim.Port()));
    ASSERT_GE(conn.Get(), 0);

    ASSERT_TRUE(SendAll(conn.Get(), "*01PV SY 111\r\n"));
    EXPECT_EQ(ReadReply(conn.Get(), false), "*01PV SY 111 5\r\n");
    ASSERT_TRUE(SendAll(conn.Get(), "\x02" "01PV SY 111\x03"s));
    EXPECT_EQ(ReadReply(conn.Get(), true), "\x02" "01PV SY 111 5\x03\x2A\x00"s);
    ASSERT_TRUE(SendAll(conn.Get(), "\x02" "01PC SY 111 8\x03"s));
    EXPECT_EQ(ReadReply(conn.Get(), true).substr(0, 15), "\x02" "01PC SY 111 8\x03"s);
    ASSERT_TRUE(SendAll(conn.Get(), "*01XV SY 111\r\n*01PV SY 999\r\n*02PV SY 111\r\n*01PV SY 111\r\n"));
    EXPECT_EQ(ReadReply(conn.Get(), false), "*01XV SY 111 3\r\n");
    EXPECT_EQ(ReadReply(conn.Get(), false), "*01NO14\r\n");
    // Address 2 is not served: the next reply is the one to the last frame.
    EXPECT_EQ(ReadReply(conn.Get(), false), "*01PV SY 111 8\r\n");

    const std::vector<SimFrame> log = sim.ReadLog();
    ASSERT_EQ(log.size(), 13u);
    EXPECT_EQ(log[0].direction, "rx");
    EXPECT_EQ(log[0].transport, "tcp");
    EXPECT_EQ(log[0].framing, "terminal");
    EXPECT_EQ(log[0].address, 1);
    EXPECT_EQ(log[0].bytes, "*01PV SY 111\r\n");
    EXPECT_EQ(log[0].text, "PV SY 111");
    EXPECT_EQ(log[1].direction, "tx");
    EXPECT_EQ(log[1].bytes, "*01PV SY 111 5\r\n");
    EXPECT_EQ(log[2].framing, "mini");
    EXPECT_EQ(log[3].bytes, "\x02" "01PV SY 111 5\x03\x2A\x00"s);
    EXPECT_EQ(log[3].text, "PV SY 111 5");
    EXPECT_EQ(log[10].address, 2);
    EXPECT_EQ(log[10].error, "address not served");
    EXPECT_EQ(log[12].text, "PV SY 111 8");
    EXPECT_EQ(sim.Stop(), 0);
}

TEST(SimProgram, AnswersFromTheSourceDictionaryByDefault) {
    Dictionary dictionary;
    ASSERT_EQ(DictionaryParser::Load(Options::DefaultDictionary(), dictionary), "");
    const Definition* dateFormat = dictionary.Code(1, 111);
    const Definition* totalsTime = dictionary.Code(3, 732);
    ASSERT_NE(dateFormat, nullptr);
    ASSERT_NE(totalsTime, nullptr);

    SimProcess sim({.args = {"--addresses", "1-3"}});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    Fd conn(ConnectTcp(sim.Host(), sim.Port()));
    ASSERT_GE(conn.Get(), 0);
    // The definition of System 111, asked as the program asks it: type 1, 0, digit 1, index 11.
    ASSERT_TRUE(SendAll(conn.Get(), BlockFrame("SV \x04\x15"s + Be16(1) + Be16(0) + Be16(1) + Be16(11))));
    EXPECT_EQ(BlockOf(ReadReply(conn.Get(), true)), "SV \x04\x15\x00\x00"s + DefinitionRequests::ReplyData(*dateFormat));
    // A code that is not there is refused, and the next request is answered as usual.
    int missing = 0;
    while (dictionary.Code(2, missing)) ++missing;
    ASSERT_TRUE(SendAll(conn.Get(), BlockFrame("SV \x04\x15"s + Be16(2) + Be16(0) + Be16(static_cast<uint16_t>(missing / 100)) +
                                               Be16(static_cast<uint16_t>(missing % 100)))));
    EXPECT_EQ(BlockOf(ReadReply(conn.Get(), true)), "SV \x04\x15\x80\x17"s);
    const Definition& firstRegister = *dictionary.Registers().front();
    ASSERT_TRUE(SendAll(conn.Get(), BlockFrame("SV \x04\x14"s + Be16(firstRegister.dataType) + Be16(firstRegister.directory) +
                                               Be16(firstRegister.position))));
    EXPECT_EQ(BlockOf(ReadReply(conn.Get(), true)), "SV \x04\x14\x00\x00"s + DefinitionRequests::ReplyData(firstRegister));
    // Values start from the dictionary's defaults at every address.
    ASSERT_TRUE(SendAll(conn.Get(), "*03PV M2 732\r\n"));
    EXPECT_EQ(ReadReply(conn.Get(), false), "*03PV M2 732 " + totalsTime->defaultValue + "\r\n");
    ASSERT_TRUE(SendAll(conn.Get(), "*02PC M2 732 " + std::string(static_cast<size_t>(totalsTime->max) + 1, '1') + "\r\n"));
    EXPECT_EQ(ReadReply(conn.Get(), false), "*02NO03\r\n");
    EXPECT_EQ(sim.Stop(), 0);
}

TEST(SimProgram, ReadsTheDictionaryFolderItIsGiven) {
    TempDir files;
    const std::string source = Options::DefaultDictionary();
    for (const char* name : {"Config", "System", "Arm", "Meter", "Product", "Recipe", "Bay A", "Bay B", "Registers"}) {
        std::ifstream in(source + "/" + name + ".txt", std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(text.empty()) << name;
        if (std::string(name) == "Bay B") {
            const size_t at = text.find("\ncode:");
            ASSERT_NE(at, std::string::npos);
            text.insert(at + 1, "code: 199\n");  // a code line without a block of its own
        }
        files.Write(std::string(name) + ".txt", text);
    }
    auto [status, errors] = RunProgram({"--tcp", "127.0.0.1:0", "--dictionary", files.Path()}, true);
    EXPECT_EQ(status, 2);
    EXPECT_NE(errors.find(files.Path() + "/Bay B.txt:"), std::string::npos) << errors;
    EXPECT_NE(errors.find("no \"register:\" line"), std::string::npos) << errors;
    EXPECT_EQ(RunProgram({"--tcp", "127.0.0.1:0", "--dictionary", files.File("nowhere")}).first, 2);

    // A sound folder of its own is the one answered from.
    std::ifstream in(source + "/Bay B.txt", std::ios::binary);
    std::string bayB((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    files.Write("Bay B.txt", bayB);
    std::ifstream systemIn(source + "/System.txt", std::ios::binary);
    std::string system((std::istreambuf_iterator<char>(systemIn)), std::istreambuf_iterator<char>());
    const size_t at = system.find("\ncode: 111\n");
    ASSERT_NE(at, std::string::npos);
    const size_t help = system.find("\nhelp: ", at);
    system.replace(help, system.find('\n', help + 1) - help, "\nhelp: Told by the test folder.");
    files.Write("System.txt", system);
    SimProcess sim({.args = {"--dictionary", files.Path()}});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    Fd conn(ConnectTcp(sim.Host(), sim.Port()));
    ASSERT_TRUE(SendAll(conn.Get(), BlockFrame("SV \x04\x15"s + Be16(1) + Be16(0) + Be16(1) + Be16(11))));
    EXPECT_NE(BlockOf(ReadReply(conn.Get(), true)).find("\0Told by the test folder.\0"s), std::string::npos);
}

TEST(SimProgram, ServesAPtyThatTheProgramMayCloseAndReopen) {
    SimProcess sim({.tcp = false, .pty = true});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    const std::string path = sim.PtyPath();
    ASSERT_FALSE(path.empty());
    {
        Fd port(OpenPty(path));
        ASSERT_GE(port.Get(), 0);
        // On serial a Minicomputer text frame ends in LRC, 0x7F, 0x00.
        ASSERT_TRUE(SendAll(port.Get(), "\x02" "01GP\x03\x15\x7F\x00"s));
        EXPECT_EQ(ReadReply(port.Get(), true), "\x02" "010A463B8B\x03\x7A\x00"s);
    }
    {
        Fd port(OpenPty(path));
        ASSERT_GE(port.Get(), 0);
        ASSERT_TRUE(SendAll(port.Get(), "*01GP\r\n"));
        EXPECT_EQ(ReadReply(port.Get(), false), "*010A463B8B\r\n");
        // A frame with a wrong LRC is not answered; the next sound one is.
        ASSERT_TRUE(SendAll(port.Get(), "\x02" "01GP\x03\x16\x7F\x00" "\x02" "01LO\x03\x01\x7F\x00"s));
        EXPECT_EQ(ReadReply(port.Get(), true).substr(0, 6), "\x02" "01LO\x03"s);
    }
    const auto log = sim.ReadLog();
    ASSERT_EQ(log.size(), 7u);
    EXPECT_EQ(log[0].transport, "pty");
    EXPECT_EQ(log[4].error, "bad LRC");
    EXPECT_EQ(sim.Stop(), 0);
    struct stat st{};
    EXPECT_NE(::lstat(path.c_str(), &st), 0) << "the pty link outlived the simulator";
}

TEST(SimProgram, ReadsAndWritesDataSetsKeptInFiles) {
    TempDir data;
    std::string set(1300, '\0');
    for (size_t i = 0; i < set.size(); ++i) set[i] = static_cast<char>(i % 256);
    data.Write("0418.bin", set);
    SimProcess sim({.args = {"--data-dir", data.Path(), "--block-size", "512"}});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    Fd conn(ConnectTcp(sim.Host(), sim.Port()));
    ASSERT_GE(conn.Get(), 0);

    ASSERT_TRUE(SendAll(conn.Get(), BlockFrame("SV \x04\x18" + Be16(0))));
    const std::string first = BlockOf(ReadReply(conn.Get(), true));
    ASSERT_EQ(first.size(), 15u);
    EXPECT_EQ(first.substr(7), Be32(1300) + Be32(Crc32Reference(set)));
    std::string got;
    for (uint16_t block = 1; got.size() < set.size() && block < 10; ++block) {
        ASSERT_TRUE(SendAll(conn.Get(), BlockFrame("SV \x04\x18" + Be16(block))));
        const std::string reply = BlockOf(ReadReply(conn.Get(), true));
        ASSERT_GE(reply.size(), 7u);
        EXPECT_EQ(reply.substr(5, 2), Be16(0));
        got += reply.substr(7);
    }
    EXPECT_EQ(got, set);

    // A write: initiation, one data frame with the total, then 0x00 and the CRC-32.
    const std::string payload = "FIRST\0SECOND\x02\x03\0"s;
    const std::string counted = payload + '\0';
    for (const std::string& frame : {"SV \x04\x19"s, "SV \x04\x19" + Be32(static_cast<uint32_t>(counted.size())) + payload,
                                     "SV \x04\x19\0"s + Be32(Crc32Reference(counted))}) {
        ASSERT_TRUE(SendAll(conn.Get(), BlockFrame(frame)));
        EXPECT_EQ(BlockOf(ReadReply(conn.Get(), true)), "SV \x04\x19\x00\x00"s);
    }
    EXPECT_EQ(data.Read("0419.bin"), counted);
}

TEST(SimProgram, FaultsActOnTheWire) {
    SimProcess sim({.args = {"--fault", "delay=2000,on=GP", "--fault", "close-after=3", "--fault", "noise=4,on=LO"}});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    Fd slow(ConnectTcp(sim.Host(), sim.Port()));
    Fd quick(ConnectTcp(sim.Host(), sim.Port()));
    ASSERT_GE(slow.Get(), 0);
    ASSERT_GE(quick.Get(), 0);

    // While one reply is held back the other connection is served: its reply goes first.
    ASSERT_TRUE(SendAll(slow.Get(), "*01GP\r\n"));
    ASSERT_TRUE(sim.WaitForLog([](const std::vector<SimFrame>& log) {
        return std::any_of(log.begin(), log.end(), [](const SimFrame& f) { return f.Received() && f.text == "GP"; });
    }));
    ASSERT_TRUE(SendAll(quick.Get(), "*01LO\r\n"));
    const std::string noisy = ReadReply(quick.Get(), false);
    ASSERT_EQ(noisy.size(), 4u + 7u);
    EXPECT_EQ(noisy.substr(4), "*01LO\r\n");
    EXPECT_EQ(ReadReply(slow.Get(), false), "*010A463B8B\r\n");
    std::vector<std::string> replies;
    for (const SimFrame& f : sim.ReadLog())
        if (f.Sent() && f.kind == "frame") replies.push_back(f.text);
    EXPECT_EQ(replies, (std::vector<std::string>{"LO", "0A463B8B"}));

    ASSERT_TRUE(SendAll(quick.Get(), "*01LO\r\n"));
    EXPECT_EQ(ReadReply(quick.Get(), false).substr(4), "*01LO\r\n");
    ASSERT_TRUE(SendAll(quick.Get(), "*01LO\r\n"));
    EXPECT_TRUE(ClosedByPeer(quick.Get()));
}

TEST(SimProgram, SimulatorsSideBySideOnTheFixedPort) {
    SimProcess a;
    SimProcess b({.args = {"--persona", "controller-1125"}});
    ASSERT_TRUE(a.Running()) << a.Error();
    ASSERT_TRUE(b.Running()) << b.Error();
    EXPECT_NE(a.Host(), b.Host());
    EXPECT_EQ(a.Port(), b.Port());
    Fd ca(ConnectTcp(a.Host(), a.Port()));
    Fd cb(ConnectTcp(b.Host(), b.Port()));
    ASSERT_TRUE(SendAll(ca.Get(), "*01GP\r\n"));
    ASSERT_TRUE(SendAll(cb.Get(), "*01GP\r\n"));
    EXPECT_EQ(ReadReply(ca.Get(), false), "*010A463B8B\r\n");
    EXPECT_EQ(ReadReply(cb.Get(), false), "*012AF16B7A\r\n");
}

TEST(SimProgram, WaitsForLogLinesItIsToldAbout) {
    SimProcess sim;
    ASSERT_TRUE(sim.Running()) << sim.Error();
    Fd conn(ConnectTcp(sim.Host(), sim.Port()));
    // Address 5 is not served, so nothing comes back: the log is the only witness.
    ASSERT_TRUE(SendAll(conn.Get(), "*05GP\r\n"));
    EXPECT_TRUE(sim.WaitForLog([](const std::vector<SimFrame>& log) {
        return !log.empty() && log.back().address == 5 && log.back().error == "address not served";
    }));
    EXPECT_FALSE(sim.WaitForLog([](const std::vector<SimFrame>& log) { return log.size() > 1; },
                                std::chrono::milliseconds(100)));
}

TEST(SimProgram, HelpAndBadArguments) {
    auto [status, text] = RunProgram({"--help"});
    EXPECT_EQ(status, 0);
    EXPECT_NE(text.find("--fault FAULT"), std::string::npos);
    EXPECT_EQ(RunProgram({"--persona", "robot"}).first, 2);
    EXPECT_EQ(RunProgram({"--fault", "sneeze"}).first, 2);
    TempDir files;
    files.Write("bad-state.txt", "SY one 1 5\n");
    EXPECT_EQ(RunProgram({"--tcp", "127.0.0.1:0", "--state", files.File("bad-state.txt")}).first, 2);
    files.Write("occupied", "a file, not a link");
    EXPECT_EQ(RunProgram({"--pty", files.File("occupied")}).first, 1);
    SimProcess failing({.args = {"--fault", "sneeze"}});
    EXPECT_FALSE(failing.Running());
    EXPECT_NE(failing.Error().find("exit status 2"), std::string::npos) << failing.Error();
}

}  // namespace sim::test
