#include "sidedocs/equations/EquationDownload.h"

#include <optional>
#include <string>

#include "link/BlockWriter.h"
#include "link/DX3Protocol.h"
#include "link/TransferCodes.h"
#include "platform/UiServices.h"
#include "sidedocs/DeviceAccess.h"
#include "sidedocs/equations/CEquationDoc.h"
#include "sidedocs/equations/EquationSetPayload.h"

namespace qs {

TransferTexts EquationDownload::Texts() {
    TransferTexts t;
    t.title = "Downloading Equation...";
    t.initiation = "Unable to initiate download - ";
    t.final = "Error in response to final packet - ";
    return t;
}

bool EquationDownload::Run() {
    const UiServices& ui = device_.ui;
    if (doc_.Lines().empty()) {
        ui.Message(kNoLines);
        return false;
    }
    // The link reports its own failures through the program's services: these, for now.
    ScopedUiServices scope(ui);
    const DeviceAccess::Link link = device_.Connect(true);
    if (!link) return false;
    std::string refusal;
    const std::optional<EquationSetPayload> payload = EquationSetPayload::Build(doc_, refusal);
    if (!payload) {
        ui.Message(refusal);
        return false;
    }

    BlockWriter writer(*link.protocol, kTransferWriteEquations, Texts());
    writer.Begin(payload->Total());
    if (writer.Initiate() != TransferOutcome::Done) return false;
    const auto send = [&](const std::vector<uint8_t>& piece, const char* prefix) {
        const TransferOutcome added = writer.Append(piece);
        return added == TransferOutcome::Done && writer.SendFrame(prefix) == TransferOutcome::Done;
    };
    writer.StartFirstFrame();
    if (!send(payload->header, "Error writing data - ")) return false;
    for (const auto& line : payload->lines) {
        if (!send(line, "Error downloading equation line - ")) return false;
    }
    if (!send(std::vector<uint8_t>(CEquation::kRecordBytes, 0), "Error downloading final equation line - ")) return false;
    if (!send(payload->tables, "Error sending constant tables - ")) return false;
    return writer.Close() == TransferOutcome::Done;
}

}  // namespace qs
