// The program-data document: saving and loading a fully programmed six-arm document, and Read
// All from the simulated controller over loopback TCP set against the bare round trips of the
// same commands on a plain socket. The difference is what the document, the directory walk and
// the protocol add to a transfer that the device's answers bound.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
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

// One simulator for the whole run, answering addresses 1-6 on a loopback address of its own.
struct Simulator {
    static BenchSimulator& Get() {
        static BenchSimulator sim(204, {"--addresses", "1-6"});
        return sim;
    }
    static int Dial(const std::string& host) { return BenchSimulator::Dial(host); }
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

void ReadAllThroughTheDocument(benchmark::State& state) {
    BenchSimulator& sim = Simulator::Get();
    if (!sim.Ready()) {
        state.SkipWithError(sim.Error().c_str());
        return;
    }
    qs::ComPortTable ports;
    qs::CVexa3Doc doc(ports, BuiltDictionary());
    qs::DocumentLinkFields f = doc.GetLinkFields();
    f.port = qs::CVexa3Doc::kPortTcp;
    f.protocol = qs::kProtocolTerminal;
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
BENCHMARK(ReadAllThroughTheDocument)->Unit(benchmark::kMillisecond);

// Sends "*NN<command>\r\n" and reads the reply up to its LF; nothing decoded or checked.
bool RoundTrip(int fd, const std::string& frame, char* buffer, size_t size) {
    if (::send(fd, frame.data(), frame.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(frame.size())) return false;
    size_t have = 0;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) return false;
        const ssize_t n = ::recv(fd, buffer + have, size - have, 0);
        if (n <= 0) return false;
        have += static_cast<size_t>(n);
        if (buffer[have - 1] == '\n') return true;
        if (have == size) return false;
    }
}

void ReadAllRawRoundTrips(benchmark::State& state) {
    BenchSimulator& sim = Simulator::Get();
    if (!sim.Ready()) {
        state.SkipWithError(sim.Error().c_str());
        return;
    }
    qs::ComPortTable ports;
    qs::CVexa3Doc doc(ports, BuiltDictionary());
    std::vector<std::string> frames;
    for (const auto& [address, command] : ReadAllCommands(doc)) {
        char head[8];
        std::snprintf(head, sizeof head, "*%02d", address);
        frames.push_back(head + command + "\r\n");
    }
    const int fd = Simulator::Dial(sim.Host());
    if (fd < 0) {
        state.SkipWithError("no connection");
        return;
    }
    char buffer[4096];
    for (auto _ : state) {
        for (const std::string& frame : frames) {
            if (!RoundTrip(fd, frame, buffer, sizeof buffer)) {
                state.SkipWithError("a round trip failed");
                break;
            }
        }
    }
    ::close(fd);
    state.counters["commands"] = static_cast<double>(frames.size());
}
BENCHMARK(ReadAllRawRoundTrips)->Unit(benchmark::kMillisecond);

}  // namespace
