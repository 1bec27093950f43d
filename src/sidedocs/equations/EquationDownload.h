#pragma once

#include "link/TransferTexts.h"
#include "sidedocs/equations/CEquationDoc.h"

namespace qs {

struct DeviceAccess;

// Sends an equation set to the controller: the initiation, then one frame for each piece
// behind the "SV " head (the total and the set header, each device line, the end record, the
// constant tables) and the closing 0x00 and CRC-32. A failed reply to the closing frame is
// reported at once, and nothing follows a download that succeeded.
class EquationDownload {
public:
    static constexpr const char* kNoLines = "No Entries Defined. Nothing to download.";
    static TransferTexts Texts();

    EquationDownload(const CEquationDoc& doc, const DeviceAccess& device) : doc_(doc), device_(device) {}

    // The device is asked for once the set is known to have lines.
    bool Run();

private:
    const CEquationDoc& doc_;
    const DeviceAccess& device_;
};

}  // namespace qs
