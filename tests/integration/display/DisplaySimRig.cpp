#include "DisplaySimRig.h"

#include <fcntl.h>
#include <unistd.h>

#include <bit>

#include "emulators/display/SerialDisplayPort.h"
#include "emulators/display/TcpDisplayPort.h"

namespace qs::display::sim_test {
namespace {

// The hand-over request as Quillset writes it on the serial line: STX, address 01, the block
// (nothing in it needs escaping), ETX, LRC, 7F, 00.
std::string HandoverRequest(uint16_t code) {
    std::string body = "01SV ";
    body.push_back(static_cast<char>(code >> 8));
    body.push_back(static_cast<char>(code & 0xFF));
    body += "\x46\xFE\x03";
    uint8_t lrc = 0;
    for (char c : body) lrc ^= static_cast<uint8_t>(c);
    return "\x02" + body + std::string{static_cast<char>(lrc), '\x7F', '\0'};
}

}  // namespace

std::vector<uint8_t> BarPayload(double current) {
    std::vector<uint8_t> out;
    for (double d : {100.0, 0.0, current}) {
        const auto v = std::bit_cast<uint64_t>(d);
        for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    out.push_back(0);
    return out;
}

std::vector<uint8_t> TextPayload(const std::string& text) {
    std::vector<uint8_t> out(text.begin(), text.end());
    out.push_back(0);
    return out;
}

DisplayLinkHooks DisplaySimRig::Hooks() {
    DisplayLinkHooks h;
    h.error = [this](int code) { errors.push_back(code); };
    h.badEndMarker = [this] { ++badEnds; };
    h.armStatus = [this](const ArmStatus& a) { arms.push_back(a); };
    return h;
}

DisplaySimRig::DisplaySimRig(DisplaySimSetup setup)
    : engine_(setup.handover == 0x0417 ? DisplayVariant::OperatorPanel : DisplayVariant::RemoteDisplay, 2),
      link_(engine_, clock_, setup.master, Hooks()) {
    qs::test::SimProcess::Options options;
    options.args = setup.args;
    if (setup.pty) {
        options.pty = true;
        options.args.push_back("--display-handover");
    } else {
        options.host = qs::test::SimProcess::UniqueLoopbackAddress();
        options.args.push_back("--display-tcp");
        options.args.push_back(options.host + ":7744");
    }
    sim_ = std::make_unique<qs::test::SimProcess>(options);
    if (!sim_->Running()) return;
    if (setup.pty) {
        // Quillset's part: the request on the line, then the line left to the emulator.
        const int fd = ::open(sim_->PtyPath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) return;
        const std::string request = HandoverRequest(setup.handover);
        const bool written = ::write(fd, request.data(), request.size()) == static_cast<ssize_t>(request.size());
        ::close(fd);
        if (!written || !sim_->WaitForLog([](const std::vector<qs::test::SimFrame>& log) { return !log.empty(); })) return;
        auto serial = std::make_unique<SerialDisplayPort>(clock_);
        if (serial->Open(sim_->PtyPath()) != SerialDisplayPort::OpenResult::kOk) return;
        port_ = std::move(serial);
    } else {
        auto tcp = std::make_unique<TcpDisplayPort>(clock_);
        tcp->Start(sim_->Host());
        port_ = std::move(tcp);
    }
    link_.Attach(port_.get(), port_.get());
}

DisplaySimRig::~DisplaySimRig() {
    link_.Attach(nullptr, nullptr);
    if (port_) port_->Close();
}

std::string DisplaySimRig::Error() const {
    if (!sim_ || !sim_->Running()) return sim_ ? sim_->Error() : "no simulator";
    return port_ ? "" : "the display port did not open";
}

bool DisplaySimRig::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        link_.ReceiveFrames();
        if (link_.RedrawNeeded()) {
            engine_.RedrawDisplays();
            link_.ClearRedrawNeeded();
        }
        // A pass returns at once when nothing is there: wait a little for the next bytes.
        ::usleep(2000);
    }
    return true;
}

bool DisplaySimRig::ScriptDone() const {
    const DisplayObject* bar = Object(8);
    return bar && bar->payload == BarPayload(55) && !Object(20) && !engine_.List().FindDisplayWindow(2, 0);
}

std::vector<qs::test::SimFrame> DisplaySimRig::Keys() const {
    std::vector<qs::test::SimFrame> keys;
    for (const qs::test::SimFrame& f : sim_->ReadLog()) {
        if (f.Received() && (f.kind == "key" || f.kind == "noise")) keys.push_back(f);
    }
    return keys;
}

bool DisplaySimRig::WaitForKeys(size_t count) {
    return RunUntil([&] { return Keys().size() >= count; });
}

}  // namespace qs::display::sim_test
