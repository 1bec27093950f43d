#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "link/TransferCodes.h"

namespace qs {

// The five report slots of the device a definition is sent to or read from, as "Select
// Report" lists them, with the transfer codes of each row.
struct ReportDestination {
    static constexpr int kCount = kReportDefinitionCount;
    // The row "Select Report" opens with.
    static constexpr int kDefaultRow = 1;

    static constexpr std::array<const char*, kCount> kNames = {
        "User Configured Report 1 - Batch Detail",
        "User Configured Report 1 - Transaction Report",
        "User Configured Report 2 - Batch Detail",
        "User Configured Report 2 - Transaction Report",
        "Prove Report",
    };

    static constexpr bool IsRow(int row) { return row >= 0 && row < kCount; }
    static constexpr uint16_t ReadCode(int row) { return ReportReadCode(row); }
    static constexpr uint16_t WriteCode(int row) { return ReportWriteCode(row); }
};

// "Select Report" as a transfer asks it: the chosen row 0-4, nullopt for Cancel.
using ReportSlotChoice = std::function<std::optional<int>()>;

}  // namespace qs
