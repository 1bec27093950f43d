#include "sidedocs/reports/ReportUpload.h"

#include <vector>

#include "link/BlockReader.h"
#include "link/MiniProtocol.h"
#include "platform/UiServices.h"
#include "sidedocs/reports/CReport.h"
#include "sidedocs/reports/ReportDestination.h"
#include "sidedocs/reports/ReportDeviceAccess.h"
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

ReportUpload::ReportUpload(CReport& report, const ReportDeviceAccess& access) : report_(report), access_(access) {}

bool ReportUpload::Run() {
    MiniProtocol* protocol = BlockTransfer::RequireBinaryLink(access_.connectedProtocol(false));
    if (!protocol) return false;
    const std::optional<int> row = access_.chooseDestination();
    if (!row || !ReportDestination::IsRow(*row)) return false;

    BlockReader reader(*protocol, ReportDestination::ReadCode(*row), Texts(), kBufferBytes);
    std::vector<uint8_t> data;
    if (reader.Read(data) != TransferOutcome::Done) return false;

    std::optional<ReportPayload::Incoming> in = ReportPayload::Parse(data, report_.Dictionary());
    const UiServices& ui = report_.Ui();
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
