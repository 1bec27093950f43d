#include "sidedocs/reports/ReportDownload.h"

#include <vector>

#include "link/BlockWriter.h"
#include "link/MiniProtocol.h"
#include "platform/UiServices.h"
#include "sidedocs/DeviceAccess.h"
#include "sidedocs/reports/CReport.h"
#include "sidedocs/reports/ReportDestination.h"
#include "sidedocs/reports/ReportPayload.h"

namespace qs {

TransferTexts ReportDownload::Texts() {
    TransferTexts t;
    t.title = "Downloading Report...";
    t.sending = kEntryPrefix;
    t.final = "Error sending final packet - ";
    return t;
}

ReportDownload::ReportDownload(const CReport& report, const DeviceAccess& device, const ReportSlotChoice& chooseSlot)
    : report_(report), device_(device), chooseSlot_(chooseSlot) {}

std::string ReportDownload::Refusal(const CReport& report) {
    if (report.Items().size() > CReport::kMaxItems) {
        return "This report has " + std::to_string(report.Items().size()) + " entries; at most " +
               std::to_string(CReport::kMaxItems) + " can be sent. Nothing was sent.";
    }
    if (report.Columns() > ReportPayload::kMaxPageField || report.LinesPerPage() > ReportPayload::kMaxPageField) {
        return "This report is " + std::to_string(report.Columns()) + " columns wide with " +
               std::to_string(report.LinesPerPage()) +
               " lines per page; the Duravane III takes at most 255 of each. Nothing was sent.";
    }
    for (const auto& item : report.Items()) {
        if (!item->CanSend(report.Dictionary())) {
            return "The entry at line " + std::to_string(item->Line() + 1) + ", column " +
                   std::to_string(item->Column() + 1) +
                   " names a register that is not in the parameter dictionary. Nothing was sent.";
        }
    }
    return {};
}

bool ReportDownload::Run() {
    const UiServices& ui = device_.ui;
    if (report_.Items().empty()) {
        ui.Message(kNoEntries);
        return false;
    }
    if (const std::string refusal = Refusal(report_); !refusal.empty()) {
        ui.Message(refusal, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    // The link and the block transfer report through the program's services: these, for now.
    ScopedUiServices scope(ui);
    const DeviceAccess::Link link = device_.Connect(true);
    if (!link) return false;
    const std::optional<int> row = chooseSlot_ ? chooseSlot_() : std::nullopt;
    if (!row || !ReportDestination::IsRow(*row)) return false;

    // The form feed travels as one more text entry, after all the others.
    std::vector<const ReportItem*> items;
    for (const auto& item : report_.Items()) items.push_back(item.get());
    const ReportItem formFeed(items.back()->Line(), report_.GridColumns() - 1, "\x0C");
    if (report_.FormFeed()) items.push_back(&formFeed);

    const std::optional<ReportPayload::Outgoing> payload =
        ReportPayload::Build(items, report_.LinesPerPage(), report_.Columns(), report_.Dictionary());
    if (!payload) return false;  // refused above already

    BlockWriter writer(*link.protocol, ReportDestination::WriteCode(*row), Texts());
    writer.Begin(static_cast<uint32_t>(payload->Length()));
    if (writer.Initiate() != TransferOutcome::Done) return false;
    writer.StartFirstFrame();
    // Each piece goes out in a frame of its own.
    auto send = [&writer](std::span<const uint8_t> bytes, const char* prefix) {
        return writer.Append(bytes) == TransferOutcome::Done && writer.SendFrame(prefix) == TransferOutcome::Done;
    };
    if (!send(payload->header, kFirstEntryPrefix)) return false;
    for (const auto& record : payload->records) {
        if (!send(record, kEntryPrefix)) return false;
    }
    if (!send(payload->terminator, kLastEntryPrefix)) return false;
    for (const std::string& text : payload->texts) {
        const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        if (!send(bytes, kTextsPrefix)) return false;
    }
    return writer.Close() == TransferOutcome::Done;
}

}  // namespace qs
