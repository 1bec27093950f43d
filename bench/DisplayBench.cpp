// The display core: device frames through the receive pass and the redraw of a realistic
// screen update (numbers, a status text and a bar graph changing), and one full redraw of a
// busy 256 x 64 screen (every object drawn after a clear).
#include <benchmark/benchmark.h>

#include <bit>
#include <string>
#include <vector>

#include "emulators/display/DisplayEngine.h"
#include "emulators/display/DisplayLink.h"
#include "platform/Clock.h"

namespace {

using qs::display::DisplayEngine;
using qs::display::DisplayLink;
using qs::display::DisplayVariant;

class MemorySource final : public qs::display::ByteSource {
public:
    void Feed(const std::string& bytes) {
        data_ = bytes;
        pos_ = 0;
    }
    int ReadByte(int64_t) override { return pos_ < data_.size() ? static_cast<uint8_t>(data_[pos_++]) : -1; }

private:
    std::string data_;
    size_t pos_ = 0;
};

std::string Le16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string Frame(char command, const std::string& body) { return std::string("\x02\x02\x01", 3) + command + body + "\x03\x7F\x7F"; }
std::string Payload(const std::string& p) { return Le16(static_cast<unsigned>(p.size())) + p; }

std::string Text(unsigned id, unsigned x, unsigned y, int font, int type, std::string format, const std::string& payload) {
    format.resize(21, '\0');
    const std::string record = Le16(id) + std::string{static_cast<char>(type), 0} + Le16(x) + Le16(y) +
                               std::string{3, static_cast<char>(font)} + format;
    return Frame(0x11, Le16(1) + std::string{static_cast<char>(0x90), 0} + record + Payload(payload));
}

std::string Graphic(unsigned id, int type, unsigned x, unsigned y, unsigned x2, unsigned y2, int colour, const std::string& payload) {
    const std::string record = Le16(id) + std::string{static_cast<char>(type), 0} + Le16(x) + Le16(y) + Le16(x2) + Le16(y2) +
                               std::string{0, 8, static_cast<char>(colour)} + std::string(16, '\0');
    return Frame(0x11, Le16(1) + std::string{static_cast<char>(0x90), 0} + record + Payload(payload));
}

std::string BigEndian32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::string Bar(double current) {
    std::string out;
    for (double d : {100.0, 0.0, current}) {
        const auto v = std::bit_cast<uint64_t>(d);
        for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
    }
    return out;
}

// A loading screen: title, product, preset and delivered totals, flow rate, temperature, a
// bar graph and its frame, an icon and a status line.
std::string Screen() {
    return Text(1, 4, 28, 2, 0x40, "%s", "LOADING ARM 1") + Text(2, 4, 40, 0, 0, "%s", "ULSD  Bay A") +
           Text(3, 4, 52, 0, 3, "Pre %6ld L", BigEndian32(8000)) + Text(4, 120, 52, 0, 3, "Del %6ld L", BigEndian32(1234)) +
           Text(5, 150, 40, 0, 3, "%4ld L/m", BigEndian32(950)) + Text(6, 196, 62, 0, 2, "%3d C", std::string("\x00\x0F", 2)) +
           Graphic(7, 0x84, 130, 14, 236, 24, 0x23, Bar(15)) + Graphic(8, 0xC2, 0, 0, 239, 63, 3, "") +
           Graphic(9, 0xC0, 226, 42, 8, 8, 0, std::string(64, '\x02')) + Text(10, 4, 62, 0, 0, "%s", "Press START");
}

// What changes each second while a load runs.
std::string Update(int step) {
    const auto u = [](unsigned id, const std::string& p) { return Frame(0x12, Le16(id) + std::string{3, 0} + Payload(p)); };
    return u(4, BigEndian32(1234 + static_cast<uint32_t>(step))) + u(5, BigEndian32(950 + static_cast<uint32_t>(step % 7))) +
           Frame(0x12, Le16(7) + std::string{0x23, 0} + Payload(Bar(15 + step % 80))) + u(10, "Loading...");
}

// An engine and its link fed from memory, the loading screen built.
struct Bench {
    explicit Bench(benchmark::State& state) {
        link.Attach(&source, nullptr);
        source.Feed(Screen());
        link.ReceiveFrames();
        if (!engine.List().FindDisplayObject(10, 0)) state.SkipWithError("the screen was not built");
    }
    qs::SteadyClock clock;
    DisplayEngine engine{DisplayVariant::RemoteDisplay, 1};
    DisplayLink link{engine, clock, false};
    MemorySource source;
};

void ParseAndRenderScreenUpdate(benchmark::State& state) {
    Bench b(state);
    b.engine.RedrawDisplays();
    std::vector<std::string> updates;
    for (int i = 0; i < 64; ++i) updates.push_back(Update(i));
    size_t i = 0;
    for (auto _ : state) {
        b.source.Feed(updates[i++ % updates.size()]);
        b.link.ReceiveFrames();
        b.engine.RedrawDisplays();
        b.link.ClearRedrawNeeded();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 4);  // frames
}
BENCHMARK(ParseAndRenderScreenUpdate);

void FullRedraw(benchmark::State& state) {
    Bench b(state);
    for (auto _ : state) {
        // Clear the window and draw every object, those drawn only when changed included.
        b.engine.List().SelectWindow(1, 0x90, 0);
        b.engine.RedrawDisplays();
        benchmark::DoNotOptimize(b.engine.GetFramebuffer(0).Pixels().data());
    }
}
BENCHMARK(FullRedraw);

}  // namespace
