#pragma once
// Report definitions sent to and read from duravane-sim by a program-data document connected
// the way the main frame connects one: over loopback TCP to the simulator's own address, or
// over its pty mapped to a COM port. What the simulator received is read from its frame log.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "RecordingUi.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "link/ComPortTable.h"
#include "programdata/CVexa3Doc.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/reports/CReport.h"
#include "sidedocs/reports/ReportDeviceAccess.h"

namespace qs::test::reportsim {

enum class Transport { Tcp, Pty };

class ReportRig {
public:
    ReportRig(Transport transport, std::vector<std::string> args = {});

    bool Ready() const { return sim_ && sim_->Running(); }
    std::string Error() const { return sim_ ? sim_->Error() : "not started"; }

    // The main frame's hand-over: the document connected (online for a download), its protocol,
    // and `row` as the choice of "Select Report".
    ReportDeviceAccess Access(int row);
    std::unique_ptr<CReport> NewReport() const;

    // Blocks the simulator received with `code`, unescaped, once at least `atLeast` are there.
    std::vector<std::string> Received(uint16_t code, size_t atLeast);
    // Text commands it received.
    std::vector<std::string> Commands() const;

    // A register of the build's dictionary that `pick` accepts (directory, data type, entry),
    // with instance 1 when it has instances; 0 when there is none.
    uint32_t FindRegister(const std::function<bool(int, int, const CParam&)>& pick) const;

    RecordingUi ui;
    ParamDictionary dictionary;

private:
    TempDir files_;
    std::unique_ptr<ScopedEnv> ini_;
    std::unique_ptr<SimProcess> sim_;
    ComPortTable ports_;
    std::unique_ptr<CVexa3Doc> doc_;
};

std::string U32Be(uint32_t v);
uint32_t U32At(const std::string& s, size_t at);
uint32_t BitwiseCrc32(const std::string& data);

}  // namespace qs::test::reportsim
