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

// The bytes of a saved six-arm document, written and read with nothing but system calls: a
// temporary file, fsync and rename for the write, as the save does. The load and the save are
// set against these.
std::string SixArmDocumentBytes(const std::filesystem::path& path) {
    qs::ComPortTable ports;
    qs::CVexa3Doc doc(ports, BuiltDictionary());
    ProgramEverything(doc);
    if (!doc.Save(path.string())) return "";
    std::string bytes;
    if (std::FILE* f = std::fopen(path.string().c_str(), "rb")) {
        char chunk[65536];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.append(chunk, n);
        std::fclose(f);
    }
    return bytes;
}

void WriteSameBytes(benchmark::State& state) {
    const auto path = BenchFile("write-bench");
    const std::string bytes = SixArmDocumentBytes(path);
    const std::string temp = path.string() + ".tmp";
    for (auto _ : state) {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const bool ok = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
                        ::fsync(fd) == 0;
        if (fd >= 0) ::close(fd);
        if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
            state.SkipWithError("the write failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
    std::filesystem::remove(path);
}
BENCHMARK(WriteSameBytes)->Unit(benchmark::kMillisecond);

void ReadSameBytes(benchmark::State& state) {
    const auto path = BenchFile("read-bench");
    const std::string bytes = SixArmDocumentBytes(path);
    std::vector<char> buffer(bytes.size() + 1);
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        const ssize_t n = fd >= 0 ? ::read(fd, buffer.data(), buffer.size()) : -1;
        if (fd >= 0) ::close(fd);
        if (n != static_cast<ssize_t>(bytes.size())) {
            state.SkipWithError("the read failed");
            break;
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
    std::filesystem::remove(path);
}
BENCHMARK(ReadSameBytes)->Unit(benchmark::kMillisecond);

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

// A document linked to the run's simulator over TCP/IP or the pty, in either framing.
std::unique_ptr<qs::CVexa3Doc> LinkedDocument(qs::ComPortTable& ports, const std::string& host, bool pty, bool mini) {
    auto doc = std::make_unique<qs::CVexa3Doc>(ports, BuiltDictionary());
    qs::DocumentLinkFields f = doc->GetLinkFields();
    f.port = pty ? 1 : qs::CVexa3Doc::kPortTcp;
    f.protocol = mini ? qs::kProtocolMini : qs::kProtocolTerminal;
    f.ipv4 = Ipv4Of(host);
    doc->SetLinkFields(f);
    if (doc->Connect(true) < qs::CVexa3Doc::kStateReadOnly) return nullptr;
    return doc;
}

void ReadAllThroughTheDocument(benchmark::State& state) {
    BenchSimulator& sim = Simulator::Get();
    if (!sim.Ready()) {
        state.SkipWithError(sim.Error().c_str());
        return;
    }
    qs::ComPortTable ports;
    auto doc = LinkedDocument(ports, sim.Host(), state.range(0) != 0, state.range(1) != 0);
    if (!doc) {
        state.SkipWithError("the document did not connect");
        return;
    }
    for (auto _ : state) {
        if (!doc->ReadAllFromDevice(nullptr)) {
            state.SkipWithError("Read All failed");
            break;
        }
    }
    state.counters["commands"] = static_cast<double>(ReadAllCommands(*doc).size());
}
BENCHMARK(ReadAllThroughTheDocument)->Apply(ReadAllArgs);

// Dump All of what a Read All brought from the device, so every command carries a value the
// device takes and the device's state stays the same from one iteration to the next.
void DumpAllThroughTheDocument(benchmark::State& state) {
    BenchSimulator& sim = Simulator::Get();
    if (!sim.Ready()) {
        state.SkipWithError(sim.Error().c_str());
        return;
    }
    qs::ComPortTable ports;
    auto doc = LinkedDocument(ports, sim.Host(), state.range(0) != 0, state.range(1) != 0);
    if (!doc || !doc->ReadAllFromDevice(nullptr)) {
        state.SkipWithError("the document did not connect or read");
        return;
    }
    for (auto _ : state) {
        if (!doc->WriteAllToDevice(nullptr)) {
            state.SkipWithError("Dump All failed");
            break;
        }
    }
}
BENCHMARK(DumpAllThroughTheDocument)->Apply(ReadAllArgs);

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

// A command framed as the document frames it: Terminal "*AA...CR LF", Minicomputer STX AA ...
// ETX, and on a serial line the check byte and the trailer after it.
std::string Framed(int address, const std::string& command, bool pty, bool mini) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02d", address);
    if (!mini) return "*" + std::string(digits) + command + "\r\n";
    std::string frame = "\x02" + std::string(digits) + command + "\x03";
    if (pty) {
        unsigned char lrc = 0;
        for (size_t i = 1; i < frame.size(); ++i) lrc ^= static_cast<unsigned char>(frame[i]);
        frame += static_cast<char>(lrc);
        frame += '\x7F';
        frame += '\0';
    }
    return frame;
}

// Sends the frames one after another, each after the reply of the one before, for as long as
// the benchmark runs.
void ReplayFrames(benchmark::State& state, const std::vector<std::string>& frames) {
    BenchSimulator& sim = Simulator::Get();
    if (!sim.Ready()) {
        state.SkipWithError(sim.Error().c_str());
        return;
    }
    const bool pty = state.range(0) != 0, mini = state.range(1) != 0;
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

void ReadAllRawRoundTrips(benchmark::State& state) {
    const bool pty = state.range(0) != 0, mini = state.range(1) != 0;
    qs::ComPortTable ports;
    qs::CVexa3Doc doc(ports, BuiltDictionary());
    std::vector<std::string> frames;
    for (const auto& [address, command] : ReadAllCommands(doc)) frames.push_back(Framed(address, command, pty, mini));
    ReplayFrames(state, frames);
}
BENCHMARK(ReadAllRawRoundTrips)->Apply(ReadAllArgs);

// The JSON string value of `key` in one line of the simulator's frame log, unescaped.
std::string LogField(const std::string& line, const std::string& key) {
    const std::string tag = "\"" + key + "\":";
    size_t at = line.find(tag);
    if (at == std::string::npos) return "";
    at += tag.size();
    if (at >= line.size() || line[at] != '"') {
        const size_t end = line.find_first_of(",}", at);
        return line.substr(at, end == std::string::npos ? std::string::npos : end - at);
    }
    std::string out;
    for (size_t i = at + 1; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] != '\\' || i + 1 >= line.size()) {
            out += line[i];
            continue;
        }
        if (line[++i] == 'u' && i + 4 < line.size()) {
            out += static_cast<char>(std::stoi(line.substr(i + 3, 2), nullptr, 16));
            i += 4;
        } else {
            out += line[i];
        }
    }
    return out;
}

// The commands of a Dump All as the document sends them: a simulator of its own, logging
// every frame, gets a Read All and then a Dump All over TCP/IP; the commands it received
// during the Dump All, with their addresses, are the ones to replay.
const std::vector<std::pair<int, std::string>>& DumpAllCommands() {
    static const std::vector<std::pair<int, std::string>> commands = [] {
        std::vector<std::pair<int, std::string>> found;
        const std::string log = BenchFile("dump-log").replace_extension("jsonl").string();
        BenchSimulator capture(205, {"--addresses", "1-6", "--log", log});
        qs::ComPortTable ports;
        auto doc = capture.Ready() ? LinkedDocument(ports, capture.Host(), false, false) : nullptr;
        if (!doc || !doc->ReadAllFromDevice(nullptr)) return found;
        std::error_code ec;
        const auto before = std::filesystem::file_size(log, ec);
        if (ec || !doc->WriteAllToDevice(nullptr)) return found;
        std::FILE* f = std::fopen(log.c_str(), "r");
        if (f == nullptr) return found;
        std::fseek(f, static_cast<long>(before), SEEK_SET);
        std::string line;
        for (int c; (c = std::fgetc(f)) != EOF;) {
            if (c != '\n') {
                line += static_cast<char>(c);
                continue;
            }
            if (LogField(line, "direction") == "rx" && LogField(line, "kind") == "frame")
                found.emplace_back(std::atoi(LogField(line, "address").c_str()), LogField(line, "text"));
            line.clear();
        }
        std::fclose(f);
        std::filesystem::remove(log, ec);
        return found;
    }();
    return commands;
}

void DumpAllRawRoundTrips(benchmark::State& state) {
    const bool pty = state.range(0) != 0, mini = state.range(1) != 0;
    if (DumpAllCommands().empty()) {
        state.SkipWithError("the Dump All commands could not be recorded");
        return;
    }
    std::vector<std::string> frames;
    for (const auto& [address, command] : DumpAllCommands()) frames.push_back(Framed(address, command, pty, mini));
    ReplayFrames(state, frames);
}
BENCHMARK(DumpAllRawRoundTrips)->Apply(ReadAllArgs);

}  // namespace
