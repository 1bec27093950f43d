#include "sidedocs/reports/ReportUpload.h"

#include <vector>

#include "link/BlockReader.h"
#include "link/MiniProtocol.h"
#include "platform/UiServices.h"
#include "sidedocs/DeviceAccess.h"
#include "sidedocs/reports/CReport.h"
#include "sidedocs/reports/ReportDestination.h"
#include "sidedocs/reports/ReportPayload.h"

namespace qs {

TransferTexts ReportUpload::Texts() {
    TransferTexts t;
    t.title = "Reading Report...";
    t.transfer = "Error occurred during read - ";
    t.crcMismatch = "CRC of returned report does not match expected value.";
    t.allocation = "Unable to allocate sufficient memory for this operation!";
    return t;
}

ReportUpload::ReportUpload(CReport& report, const DeviceAccess& device, const ReportSlotChoice& chooseSlot) : report_(report), device_(device), chooseSlot_(chooseSlot) {}

bool ReportUpload::Run() {
    const UiServices& ui = device_.ui;
    // The link and the block transfer report through the program's services: these, for now.
    ScopedUiServices scope(ui);
    const DeviceAccess::Link link = device_.Connect(false);
    if (!link) return false;
    const std::optional<int> row = chooseSlot_ ? chooseSlot_() : std::nullopt;
    if (!row || !ReportDestination::IsRow(*row)) return false;

    BlockReader reader(*link.protocol, ReportDestination::ReadCode(*row), Texts(), kBufferBytes);
    std::vector<uint8_t> data;
    if (reader.Read(data) != TransferOutcome::Done) return false;

    std::optional<ReportPayload::Incoming> in = ReportPayload::Parse(data, report_.Dictionary());
    if (!in) {
        ui.Message("The report definition the Duravane III returned is " + std::to_string(data.size()) +
                       " bytes long, too short to hold one. Nothing was read.",
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    report_.TakeDefinition(in->columns, in->linesPerPage, std::move(in->items), in->formFeed);
    if (in->unknownRecords > 0) {
        ui.Message(std::to_string(in->unknownRecords) +
                       " report entries of a kind this version of Quillset does not know were left out.",
                   MB_OK | MB_ICONEXCLAMATION);
    }
    return true;
}

}  // namespace qs
