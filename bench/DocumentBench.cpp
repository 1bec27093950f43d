// The program-data document: saving and loading a fully programmed six-arm document, and Read
// All from the simulated controller over loopback TCP set against the bare round trips of the
// same commands on a plain socket. The difference is what the document, the directory walk and
// the protocol add to a transfer that the device's answers bound.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "BenchSimulator.h"
#include "link/ComPortTable.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "programdata/CVexa3Doc.h"
#include "programdata/DefinitionSource.h"

namespace {

qs::DefinitionSource BuiltDictionary() {
    qs::DefinitionSource s;
    s.searchDirs = {QS_DATA_BUILD_DIR};
    return s;
}

// Every value of every code, instance and arm, and a level on each code.
size_t ProgramEverything(qs::CVexa3Doc& doc) {
    size_t values = 0;
    std::unordered_set<const qs::CParam*> seen;
    for (qs::CDirectory* d = doc.FirstDirectory(); d; d = d->NextDirectory())
        for (int i = 0; i < d->SubdirectoryCount(); ++i)
            d->Subdirectory(i)->ForEachParam([&](qs::CParam& p) {
                if (!seen.insert(&p).second) return;
                for (int v = 0; v < p.ValueCount(); ++v, ++values) p.SetValue("VALUE " + std::to_string(v), v);
                p.SetLevel(static_cast<uint8_t>(p.number % 5));
            });
    return values;
}

std::filesystem::path BenchFile(const char* name) {
    return std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid()) + ".D3X");
}

void SaveSixArmDocument(benchmark::State& state) {
    qs::ComPortTable ports;
    qs::CVexa3Doc doc(ports, BuiltDictionary());
    const size_t values = ProgramEverything(doc);
    const auto path = BenchFile("save-bench");
    for (auto _ : state) {
        if (!doc.Save(path.string())) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    state.counters["records"] = static_cast<double>(values);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(SaveSixArmDocument)->Unit(benchmark::kMillisecond);

void LoadSixArmDocument(benchmark::State& state) {
    qs::ComPortTable ports;
    qs::CVexa3Doc doc(ports, BuiltDictionary());
    const size_t values = ProgramEverything(doc);
    const auto path = BenchFile("load-bench");
    if (!doc.Save(path.string())) {
        state.SkipWithError("the save failed");
        return;
    }
    qs::CVexa3Doc loaded(ports, BuiltDictionary());
    for (auto _ : state) {
        if (!loaded.Load(path.string())) {
            state.SkipWithError("the load failed");
            break;
        }
    }
    state.counters["records"] = static_cast<double>(values);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(LoadSixArmDocument)->Unit(benchmark::kMillisecond);

// One simulator for the whole run, answering addresses 1-6 on a loopback address of its own
// and on a pty, which COM1 of the run's own profile names.
struct Simulator {
    static std::string PtyLink() { return BenchFile("dv-pty").replace_extension("").string(); }
    static BenchSimulator& Get() {
        static BenchSimulator sim(204, {"--addresses", "1-6", "--pty", PtyLink()});
        static const bool profiled = [] {
            const std::string ini = BenchFile("QS3X").replace_extension("INI").string();
            std::FILE* f = std::fopen(ini.c_str(), "w");
            if (f == nullptr) return false;
            std::fprintf(f, "[Ports]\nCOM1=%s\n", PtyLink().c_str());
            std::fclose(f);
            return ::setenv("QUILLSET_INI", ini.c_str(), 1) == 0;
        }();
        (void)profiled;
        return sim;
    }
};

uint32_t Ipv4Of(const std::string& host) {
    in_addr a{};
    ::inet_pton(AF_INET, host.c_str(), &a);
    return ntohl(a.s_addr);
}

// The commands of a Read All, with the address each goes to: every code's value, and the
// level of the first instance (device-wide codes, arm 1's, meter 1's, product 1's, recipe 1's).
std::vector<std::pair<int, std::string>> ReadAllCommands(qs::CVexa3Doc& doc) {
    std::vector<std::pair<int, std::string>> commands;
    auto add = [&](int address, const std::string& mnemonic, int type, bool levels) {
        std::set<int> numbers;
        qs::CDirectory* d = doc.FindDirectory(type);
        for (int i = 0; d && i < d->SubdirectoryCount(); ++i)
            d->Subdirectory(i)->ForEachParam([&](const qs::CParam& p) { numbers.insert(p.number); });
        for (int n : numbers) {
            char code[16];
            std::snprintf(code, sizeof code, "%s %03d", mnemonic.c_str(), n);
            commands.emplace_back(address, std::string("PV ") + code);
            if (levels) commands.emplace_back(address, std::string("XV ") + code);
        }
    };
    add(1, "CF", qs::CDirectory::kConfig, true);
    add(1, "SY", qs::CDirectory::kSystem, true);
    add(1, "BA", qs::CDirectory::kBayA, true);
    add(1, "BB", qs::CDirectory::kBayB, true);
    for (int arm = 1; arm <= 6; ++arm) {
        add(arm, "AR", qs::CDirectory::kArm, arm == 1);
        for (int i = 1; i <= 6; ++i) {
            add(arm, "M" + std::to_string(i), qs::CDirectory::kMeter, arm == 1 && i == 1);
            add(arm, "P" + std::to_string(i), qs::CDirectory::kProduct, arm == 1 && i == 1);
        }
    }
    for (int r = 1; r <= 50; ++r) {
        char mnemonic[4];
        std::snprintf(mnemonic, sizeof mnemonic, "%02d", r);
        add(1, mnemonic, qs::CDirectory::kRecipe, r == 1);
    }
    return commands;
}

// Arguments of the Read All benchmarks: transport (0 TCP/IP, 1 pty), framing (0 Terminal,
// 1 Minicomputer).
void ReadAllArgs(benchmark::internal::Benchmark* b) {
    b->ArgNames({"pty", "mini"});
    for (int pty : {0, 1})
        for (int mini : {0, 1}) b->Args({pty, mini});
    b->Unit(benchmark::kMillisecond);
}

void ReadAllThroughTheDocument(benchmark::State& state) {
    BenchSimulator& sim = Simulator::Get();
    if (!sim.Ready()) {
        state.SkipWithError(sim.Error().c_str());
        return;
    }
    const bool pty = state.range(0) != 0, mini = state.range(1) != 0;
    qs::ComPortTable ports;
    qs::CVexa3Doc doc(ports, BuiltDictionary());
    qs::DocumentLinkFields f = doc.GetLinkFields();
    f.port = pty ? 1 : qs::CVexa3Doc::kPortTcp;
    f.protocol = mini ? qs::kProtocolMini : qs::kProtocolTerminal;
    f.ipv4 = Ipv4Of(sim.Host());
    doc.SetLinkFields(f);
    if (doc.Connect(true) < qs::CVexa3Doc::kStateReadOnly) {
        state.SkipWithError("the document did not connect");
        return;
    }
    for (auto _ : state) {
        if (!doc.ReadAllFromDevice(nullptr)) {
            state.SkipWithError("Read All failed");
            break;
        }
    }
    state.counters["commands"] = static_cast<double>(ReadAllCommands(doc).size());
}
BENCHMARK(ReadAllThroughTheDocument)->Apply(ReadAllArgs);

// Writes the frame and reads the reply up to its end (LF; ETX and two check bytes for the
// Minicomputer framing); nothing decoded or checked.
bool RoundTrip(int fd, bool mini, const std::string& frame, char* buffer, size_t size) {
    if (::write(fd, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size())) return false;
    size_t have = 0;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) return false;
        const ssize_t n = ::read(fd, buffer + have, size - have);
        if (n <= 0) return false;
        have += static_cast<size_t>(n);
        if (!mini && buffer[have - 1] == '\n') return true;
        if (mini) {
            const void* etx = std::memchr(buffer, 0x03, have);
            if (etx && static_cast<size_t>(static_cast<const char*>(etx) - buffer) + 3 <= have) return true;
        }
        if (have == size) return false;
    }
}

int OpenRawPty(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd, TCSANOW, &t);
    return fd;
}

void ReadAllRawRoundTrips(benchmark::State& state) {
    BenchSimulator& sim = Simulator::Get();
    if (!sim.Ready()) {
        state.SkipWithError(sim.Error().c_str());
        return;
    }
    const bool pty = state.range(0) != 0, mini = state.range(1) != 0;
    qs::ComPortTable ports;
    qs::CVexa3Doc doc(ports, BuiltDictionary());
    std::vector<std::string> frames;
    for (const auto& [address, command] : ReadAllCommands(doc)) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02d", address);
        if (!mini) {
            frames.push_back("*" + std::string(digits) + command + "\r\n");
            continue;
        }
        std::string frame = "\x02" + std::string(digits) + command + "\x03";
        if (pty) {
            unsigned char lrc = 0;
            for (size_t i = 1; i < frame.size(); ++i) lrc ^= static_cast<unsigned char>(frame[i]);
            frame += static_cast<char>(lrc);
            frame += '\x7F';
            frame += '\0';
        }
        frames.push_back(frame);
    }
    const int fd = pty ? OpenRawPty(Simulator::PtyLink()) : BenchSimulator::Dial(sim.Host());
    if (fd < 0) {
        state.SkipWithError("no connection");
        return;
    }
    char buffer[4096];
    for (auto _ : state) {
        for (const std::string& frame : frames) {
            if (!RoundTrip(fd, mini, frame, buffer, sizeof buffer)) {
                state.SkipWithError("a round trip failed");
                break;
            }
        }
    }
    ::close(fd);
    state.counters["commands"] = static_cast<double>(frames.size());
}
BENCHMARK(ReadAllRawRoundTrips)->Apply(ReadAllArgs);

}  // namespace
