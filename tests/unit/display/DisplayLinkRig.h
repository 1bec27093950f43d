#pragma once
#include <vector>

#include "DisplayTestKit.h"
#include "emulators/display/DisplayEngine.h"
#include "emulators/display/DisplayLink.h"

namespace qs::display::test {

// A link and its engine over a fake source and sink, recording every hook.
struct LinkRig {
    explicit LinkRig(DisplayVariant variant = DisplayVariant::RemoteDisplay, bool master = true,
                     size_t memoryLimit = MemoryBudget::kDefaultLimit)
        : engine(variant, 2, memoryLimit), link(engine, clock, master, Hooks()) {
        link.Attach(&source, &sink);
    }

    void Run(const std::string& bytes) {
        source.Feed(bytes);
        link.ReceiveFrames();
    }
    // Passes until everything fed has been read (bounded).
    void Drain() {
        for (int i = 0; i < 64 && (source.Left() > 0 || link.FramePending()); ++i) link.ReceiveFrames();
    }
    const DisplayObject* Object(uint16_t id, int display = 0) const { return engine.List().FindDisplayObject(id, display); }

    qs::test::FakeClock clock;
    FakeSource source{clock};
    RecordingSink sink;
    std::vector<int> errors;
    std::vector<size_t> errorAt;  // bytes read when each error came
    int badEnds = 0;
    std::vector<ArmStatus> arms;
    DisplayEngine engine;
    DisplayLink link;

private:
    DisplayLinkHooks Hooks() {
        DisplayLinkHooks h;
        h.error = [this](int code) {
            errors.push_back(code);
            errorAt.push_back(source.Consumed());
        };
        h.badEndMarker = [this] { ++badEnds; };
        h.armStatus = [this](const ArmStatus& a) { arms.push_back(a); };
        h.wallSeconds = [] { return int64_t{0}; };
        return h;
    }
};

}  // namespace qs::display::test
