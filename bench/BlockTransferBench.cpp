// CRC-32 throughput, and a multi-block read from the simulated controller over loopback TCP
// set against the bare round trips of the same request frames on a plain socket: the
// difference is what the protocol, envelope and progress layers cost per transfer.
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BenchSimulator.h"
#include "link/BlockReader.h"
#include "link/Crc32.h"
#include "link/MiniProtocol.h"
#include "link/TransferCodes.h"

namespace {

constexpr int kSetBytes = 64000;
constexpr int kBlockBytes = 500;
constexpr int kBlocks = (kSetBytes + kBlockBytes - 1) / kBlockBytes;

std::vector<uint8_t> RandomBytes(size_t n) {
    std::mt19937 rng(1234);
    std::vector<uint8_t> v(n);
    for (auto& b : v) b = static_cast<uint8_t>(rng());
    return v;
}

void Crc32Table(benchmark::State& state) {
    const auto data = RandomBytes(static_cast<size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(qs::Crc32(data.data(), data.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(Crc32Table)->Arg(1 << 10)->Arg(64 << 10)->Arg(1 << 20);

// The running form a write feeds byte by byte.
void Crc32Running(benchmark::State& state) {
    const auto data = RandomBytes(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        uint32_t s, crc = 0;
        qs::Crc32Init(&s);
        for (uint8_t b : data) crc = qs::Crc32UpdateByte(&s, b);
        benchmark::DoNotOptimize(crc);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(Crc32Running)->Arg(64 << 10);

// The card database the simulator serves, removed once the simulator is gone.
struct CardDatabase {
    CardDatabase() {
        std::filesystem::create_directories(dir);
        const auto set = RandomBytes(kSetBytes);
        std::ofstream((dir / "0418.bin").string(), std::ios::binary)
            .write(reinterpret_cast<const char*>(set.data()), static_cast<std::streamsize>(set.size()));
    }
    ~CardDatabase() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("block-bench-" + std::to_string(::getpid()));
};

// One simulator for the whole run, on a loopback address of its own, serving a 64000-byte
// card database in 500-byte blocks.
class Simulator {
public:
    static BenchSimulator& Get() {
        static Simulator s;
        return s.sim_;
    }
    static int Dial(const std::string& host) { return BenchSimulator::Dial(host); }

private:
    Simulator() = default;
    CardDatabase cards_;  // declared first: outlives the simulator reading it
    BenchSimulator sim_{203, {"--data-dir", cards_.dir.string(), "--block-size", std::to_string(kBlockBytes)}};
};

void BlockReadFromSimulator(benchmark::State& state) {
    BenchSimulator& sim = Simulator::Get();
    if (!sim.Ready()) {
        state.SkipWithError(sim.Error().c_str());
        return;
    }
    qs::MiniProtocol link(sim.Host(), 7734, qs::kProtocolMini, 1);
    qs::TransferTexts texts;
    texts.title = "Reading Database...";
    texts.crcMismatch = "CRC of returned card database does not match expected value.";
    for (auto _ : state) {
        std::vector<uint8_t> data;
        qs::BlockReader reader(link, qs::kTransferReadCardDatabase, texts, 65000);
        if (reader.Read(data) != qs::TransferOutcome::Done || data.size() != kSetBytes) {
            state.SkipWithError("the read failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSetBytes);
    state.counters["blocks"] = kBlocks + 1;
}
BENCHMARK(BlockReadFromSimulator)->Unit(benchmark::kMillisecond);

// The same request frames, written by hand, on a bare socket: each one sent, its reply read to
// ETX and the two bytes after it, nothing decoded or checked.
std::string RequestFrame(int block) {
    const uint8_t raw[] = {'S', 'V', ' ', 0x04, 0x18, static_cast<uint8_t>(block >> 8), static_cast<uint8_t>(block)};
    std::string body = "01";
    for (uint8_t b : raw) {
        if (b == 0x02) body += "\x1BS";
        else if (b == 0x03) body += "\x1B" "E";
        else if (b == 0x7F) body += "\x1BP";
        else if (b == 0x1B) body += "\x1B\x1B";
        else body += static_cast<char>(b);
    }
    body += '\x03';
    uint8_t lrc = 0;
    for (char c : body) lrc ^= static_cast<uint8_t>(c);
    return "\x02" + body + static_cast<char>(lrc) + '\x7F' + '\0';
}

bool RoundTrip(int fd, const std::string& frame, std::vector<char>& buffer) {
    if (::send(fd, frame.data(), frame.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(frame.size())) return false;
    size_t have = 0;
    long etx = -1;
    while (etx < 0 || have < static_cast<size_t>(etx) + 3) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) return false;
        const ssize_t n = ::recv(fd, buffer.data() + have, buffer.size() - have, 0);
        if (n <= 0) return false;
        for (size_t i = have; i < have + static_cast<size_t>(n) && etx < 0; ++i) {
            if (buffer[i] == '\x03') etx = static_cast<long>(i);
        }
        have += static_cast<size_t>(n);
        if (have == buffer.size()) return false;
    }
    return true;
}

void RawRoundTripsOfTheSameFrames(benchmark::State& state) {
    BenchSimulator& sim = Simulator::Get();
    if (!sim.Ready()) {
        state.SkipWithError(sim.Error().c_str());
        return;
    }
    const int fd = Simulator::Dial(sim.Host());
    if (fd < 0) {
        state.SkipWithError("cannot connect");
        return;
    }
    std::vector<std::string> frames;
    for (int k = 0; k <= kBlocks; ++k) frames.push_back(RequestFrame(k));
    std::vector<char> buffer(8192);
    for (auto _ : state) {
        for (const auto& f : frames) {
            if (!RoundTrip(fd, f, buffer)) {
                state.SkipWithError("a round trip failed");
                ::close(fd);
                return;
            }
        }
    }
    ::close(fd);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSetBytes);
    state.counters["blocks"] = kBlocks + 1;
}
BENCHMARK(RawRoundTripsOfTheSameFrames)->Unit(benchmark::kMillisecond);

}  // namespace
