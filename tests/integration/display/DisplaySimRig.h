#pragma once
// The display core against duravane-sim's display port: a TCP connection to the simulator's
// own address on port 7744, or its pty after the "SV " hand-over, as the emulators will use
// them. Passes run on the real clock until what a test waits for has come (bounded).
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SimProcess.h"
#include "emulators/display/DisplayEngine.h"
#include "emulators/display/DisplayLink.h"
#include "emulators/display/DisplayPort.h"
#include "platform/Clock.h"

namespace qs::display::sim_test {

struct DisplaySimSetup {
    bool pty = false;
    uint16_t handover = 0x0416;          // pty only: 0x0416 remote display, 0x0417 operator panel
    bool master = false;                 // the link answers control frames
    std::vector<std::string> args{};     // display faults, --display-master ...
};

class DisplaySimRig {
public:
    explicit DisplaySimRig(DisplaySimSetup setup);
    ~DisplaySimRig();

    bool Ready() const { return sim_ && sim_->Running() && port_; }
    std::string Error() const;

    // Receive passes and redraws until `done` holds; false when `timeout` passed first.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // The demo script has been read to its end.
    bool ScriptDone() const;
    // Key frames the simulator logged, in order.
    std::vector<qs::test::SimFrame> Keys() const;
    // Runs passes until the simulator has logged `count` key frames.
    bool WaitForKeys(size_t count);

    qs::test::SimProcess& Sim() { return *sim_; }
    DisplayEngine& Engine() { return engine_; }
    DisplayLink& Link() { return link_; }
    const DisplayObject* Object(uint16_t id) const { return engine_.List().FindDisplayObject(id, 0); }

    std::vector<int> errors;
    int badEnds = 0;
    std::vector<ArmStatus> arms;

private:
    DisplayLinkHooks Hooks();

    SteadyClock clock_;
    DisplayEngine engine_;
    DisplayLink link_;
    std::unique_ptr<qs::test::SimProcess> sim_;
    std::unique_ptr<DisplayPort> port_;
};

// The bar graph's payload once the script has moved it: full scale 100, zero 0, value 55.
std::vector<uint8_t> BarPayload(double current);
// The closing 0 after a text.
std::vector<uint8_t> TextPayload(const std::string& text);

}  // namespace qs::display::sim_test
