#include "appmodel/logs/LogKind.h"

#include "link/TransferCodes.h"

namespace qs {

const LogKindTexts& TextsOf(LogKind kind) {
    static const LogKindTexts kTransaction{kTransferTransactionRange,
                                           kTransferTransactionPart,
                                           "-TransLog.txt",
                                           "Select file to store transaction log data",
                                           "Transferring Transaction Log entries...",
                                           "Reading ",
                                           " transactions",
                                           "No logged transactions available to download"};
    static const LogKindTexts kEvent{kTransferEventLogRange,
                                     kTransferEventLogEntry,
                                     "-EventLog.txt",
                                     "Select file to store event log data",
                                     "Transferring Event Log entries...",
                                     "Reading ",
                                     " Event log entries",
                                     "No event entries available to download"};
    static const LogKindTexts kAudit{kTransferAuditLogRange,
                                     kTransferAuditLogEntry,
                                     "-AuditLog.txt",
                                     "Select file to store audit trail log data",
                                     "Transferring Audit trail log entries...",
                                     "Reading ",
                                     " Audit trail log entries",
                                     "No audit log entries available to download"};
    switch (kind) {
    case LogKind::Event: return kEvent;
    case LogKind::Audit: return kAudit;
    case LogKind::Transaction: break;
    }
    return kTransaction;
}

std::string CountText(LogKind kind, int64_t count) {
    const LogKindTexts& texts = TextsOf(kind);
    return texts.countLead + std::to_string(count) + texts.countTail;
}

std::string ProposedLogFileName(const std::string& documentTitle, LogKind kind) {
    std::string base = documentTitle;
    const size_t dot = base.rfind('.');
    if (dot != std::string::npos && dot != 0) base.resize(dot);
    return base + TextsOf(kind).fileSuffix;
}

std::string LogFileChoice::WithDefaultExtension(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (name.empty() || (dot != std::string::npos && dot != 0)) return path;
    return path + kDefaultExtension;
}

}  // namespace qs
