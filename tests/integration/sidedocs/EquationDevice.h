#pragma once
// An equation set's transfers against duravane-sim, driven the way the editor drives them:
// the main frame connects a program-data document to the device (over loopback TCP to the
// simulator's own address, or over its pty mapped to a COM port) and hands over its protocol.
// What the simulator received and served is read back from its frame log.
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "SimProcess.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "link/ComPortTable.h"
#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"
#include "sidedocs/equations/CEquationDoc.h"

namespace qs::test::eqsim {

enum class Transport { Tcp, Pty };
const char* Name(Transport t);
void PrintTo(Transport t, std::ostream* os);

class EquationDevice {
public:
    // `args`: further simulator arguments; `heldSet`: the set the device holds before any
    // write ("" none); `ui`: where the main frame's own messages go.
    EquationDevice(Transport transport, const UiServices& ui, std::vector<std::string> args = {},
                   const std::string& heldSet = "");
    ~EquationDevice();

    bool Ready() const { return sim_ && sim_->Running(); }
    std::string Error() const { return sim_ ? sim_->Error() : "not started"; }

    // What the main frame hands a transfer: the program-data document connected with its write
    // test, its protocol at the document's base address; null after saying why (no link, or a
    // state below the one asked for).
    DX3Protocol* Connected(bool online);
    ProtocolRequest Link(bool online) {
        return [this, online] { return Connected(online); };
    }

    // Each block of a transfer code the simulator received (unescaped, after the address
    // digits, and as the bytes on the wire) with the status word of its reply; and the data each
    // read of the code was served. Both wait until the log shows `replies` replies to the code.
    struct Exchange {
        std::string block;
        std::string wire;
        uint16_t status = 0;
    };
    std::vector<Exchange> Exchanges(uint16_t code, size_t replies) const;
    std::vector<std::string> ReadsServed(uint16_t code, size_t replies) const;

private:
    std::vector<SimFrame> Log(uint16_t code, size_t replies) const;

    static constexpr int kComPort = 5;
    Transport transport_;
    const UiServices& ui_;
    TempDir files_;  // held set, QS3X.INI
    std::unique_ptr<ScopedEnv> ini_;
    std::unique_ptr<SimProcess> sim_;
    ComPortTable ports_;
    std::unique_ptr<CVexa3Doc> doc_;
};

}  // namespace qs::test::eqsim
