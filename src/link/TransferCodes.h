#pragma once
#include <cstdint>

namespace qs {

// The transfer codes of the "SV " envelope: which data set a block request reads or writes.
// Each data set's owner builds its payload; the envelope around it is BlockReader's and
// BlockWriter's.
enum TransferCode : uint16_t {
    kTransferEventLogEntry = 0x0402,          // read: one event-log entry by sequence number
    kTransferEventLogRange = 0x0403,          // read: first or last event-log sequence number
    kTransferTransactionPart = 0x0404,        // read: one part of one transaction record
    kTransferTransactionRange = 0x0405,       // read: first or last transaction number
    kTransferAuditLogEntry = 0x0406,          // read: one audit-trail entry by sequence number
    kTransferAuditLogRange = 0x0407,          // read: first or last audit-trail sequence number
    kTransferReadReport0 = 0x0408,            // read: report definition 0
    kTransferWriteReport0 = 0x0409,           // write: report definition 0
    kTransferReadReport1 = 0x040A,
    kTransferWriteReport1 = 0x040B,
    kTransferReadReport2 = 0x040C,
    kTransferWriteReport2 = 0x040D,
    kTransferReadReport3 = 0x040E,
    kTransferWriteReport3 = 0x040F,
    kTransferReadTranslation = 0x0410,
    kTransferWriteTranslation = 0x0411,
    kTransferReadEquations = 0x0412,
    kTransferWriteEquations = 0x0413,
    kTransferReadDefinitions = 0x0414,        // read: every program-code definition (PARAM.DAT)
    kTransferReadDirectoryDefinitions = 0x0415,  // read: the definitions of one directory (.SD3)
    kTransferRemoteDisplayHandover = 0x0416,  // command: display to the remote-display program
    kTransferPanelHandover = 0x0417,          // command: display to the operator-panel program
    kTransferReadCardDatabase = 0x0418,
    kTransferWriteCardDatabase = 0x0419,
    kTransferReadProveReport = 0x041B,        // read: the prove report, report index 4
    kTransferWriteProveReport = 0x041C,       // write: the prove report
};

// Report definitions 0-3 and the prove report (index 4).
inline constexpr int kReportDefinitionCount = 5;

// The code that reads report `index` (0-4); 0 for any other index, which names no report.
constexpr uint16_t ReportReadCode(int index) {
    if (index >= 0 && index < 4) return static_cast<uint16_t>(kTransferReadReport0 + 2 * index);
    return index == 4 ? kTransferReadProveReport : 0;
}

// The code that writes report `index` (0-4); 0 for any other index.
constexpr uint16_t ReportWriteCode(int index) {
    if (index >= 0 && index < 4) return static_cast<uint16_t>(kTransferWriteReport0 + 2 * index);
    return index == 4 ? kTransferWriteProveReport : 0;
}

}  // namespace qs
