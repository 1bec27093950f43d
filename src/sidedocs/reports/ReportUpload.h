#pragma once
#include <cstddef>

#include "link/TransferTexts.h"
#include "sidedocs/reports/ReportDestination.h"

namespace qs {

class CReport;
struct DeviceAccess;

// Reads the report definition of one of the device's report slots into a document: the block
// read with its length and CRC-32, then the records, their texts and the form feed.
class ReportUpload {
public:
    // The most a definition may hold.
    static constexpr size_t kBufferBytes = 65000;
    static TransferTexts Texts();

    ReportUpload(CReport& report, const DeviceAccess& device, const ReportSlotChoice& chooseSlot);

    // True when a definition was read and taken into the document; on any failure (said) or a
    // cancel (silent) the document is as it was.
    bool Run();

private:
    CReport& report_;
    const DeviceAccess& device_;
    const ReportSlotChoice& chooseSlot_;
};

}  // namespace qs
