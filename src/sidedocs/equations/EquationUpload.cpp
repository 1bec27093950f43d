#include "sidedocs/equations/EquationUpload.h"

#include <vector>

#include "link/BlockReader.h"
#include "link/DX3Protocol.h"
#include "link/TransferCodes.h"
#include "platform/UiServices.h"
#include "sidedocs/DeviceAccess.h"
#include "sidedocs/equations/EquationSetParser.h"

namespace qs {

TransferTexts EquationUpload::Texts() {
    TransferTexts t;
    t.title = "Uploading Equation...";
    t.initiatingRead = "Error initiating Read - ";
    t.transfer = "Error during read - ";
    t.crcMismatch = "CRC of returned equation set does not match expected value.";
    t.allocation = "Unable to allocate sufficient memory for this operation!";
    return t;
}

bool EquationUpload::Run(EquationList& lines) {
    const UiServices& ui = device_.ui;
    // The link reports its own failures through the program's services: these, for now.
    ScopedUiServices scope(ui);
    const DeviceAccess::Link link = device_.Connect(false);
    if (!link) return false;
    std::vector<uint8_t> data;
    BlockReader reader(*link.protocol, kTransferReadEquations, Texts(), kMaxBytes);
    if (reader.Read(data) != TransferOutcome::Done) return false;
    EquationSetParser::Result parsed = EquationSetParser::Parse(data, dictionary_);
    if (!parsed.Ok()) {
        ui.Message(kInvalidSet + parsed.fault);
        return false;
    }
    if (parsed.missingRegisters > 0) ui.Message(kMissingRegister);
    lines = std::move(parsed.lines);
    return true;
}

}  // namespace qs
