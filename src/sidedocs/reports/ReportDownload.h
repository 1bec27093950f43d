#pragma once
#include <string>

#include "link/TransferTexts.h"
#include "sidedocs/reports/ReportDestination.h"

namespace qs {

class CReport;
struct DeviceAccess;

// Sends a report definition to one of the device's report slots: one frame per record and per
// text (never filled up with more), the total and the CRC-32 of the block transfer around
// them. With the form feed on, an extra text entry holding a form feed goes last, at the last
// entry's line and the last column; the document never holds it.
class ReportDownload {
public:
    static constexpr const char* kNoEntries = "No Entries Defined. Nothing to download.";
    static constexpr const char* kFirstEntryPrefix = "Error sending first report entry - ";
    static constexpr const char* kEntryPrefix = "Error sending report entry - ";
    static constexpr const char* kLastEntryPrefix = "Error sending last report entry - ";
    static constexpr const char* kTextsPrefix = "Error sending user text entries - ";
    static TransferTexts Texts();

    ReportDownload(const CReport& report, const DeviceAccess& device, const ReportSlotChoice& chooseSlot);

    // True when the definition reached the device. Every refusal and failure has been said;
    // a cancel or a Cancel of "Select Report" says nothing.
    bool Run();

    // Why the document cannot be sent as it is ("" when it can): a page field the device's byte
    // cannot hold, or the first entry naming a register the dictionary does not have.
    static std::string Refusal(const CReport& report);

private:
    const CReport& report_;
    const DeviceAccess& device_;
    const ReportSlotChoice& chooseSlot_;
};

}  // namespace qs
