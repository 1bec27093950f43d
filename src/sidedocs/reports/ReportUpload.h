#pragma once
#include <cstddef>

#include "link/TransferTexts.h"

namespace qs {

class CReport;
struct ReportDeviceAccess;

// Reads the report definition of one of the device's report slots into a document: the block
// read with its length and CRC-32, then the records, their texts and the form feed.
class ReportUpload {
public:
    // The most a definition may hold.
    static constexpr size_t kBufferBytes = 65000;
    static TransferTexts Texts();

    ReportUpload(CReport& report, const ReportDeviceAccess& access);

    // True when a definition was read and taken into the document; on any failure (said) or a
    // cancel (silent) the document is as it was.
    bool Run();

private:
    CReport& report_;
    const ReportDeviceAccess& access_;
};

}  // namespace qs
