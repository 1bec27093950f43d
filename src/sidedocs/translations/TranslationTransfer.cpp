#include "sidedocs/translations/TranslationTransfer.h"

#include <cmath>

#include "link/BlockReader.h"
#include "link/BlockWriter.h"
#include "link/TransferCodes.h"
#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"
#include "programdata/DeviceIdentification.h"
#include "programdata/Revision.h"
#include "sidedocs/translations/TranslationPayload.h"

namespace qs {

namespace {

constexpr float kRevisionTolerance = 0.001f;

}  // namespace

TransferTexts TranslationTransfer::DownloadTexts() {
    TransferTexts t;
    t.title = "Downloading Translation...";
    t.sending = "Error sending translation text - ";
    t.final = "Error downloading translation - ";
    return t;
}

TransferTexts TranslationTransfer::UploadTexts() {
    TransferTexts t;
    t.title = "Reading Translation...";
    t.crcMismatch = "CRC of returned translation does not match expected value.";
    t.allocation = "Unable to allocate buffer for transaction data";
    return t;
}

DeviceAccess::Link TranslationTransfer::RequireController(bool requireOnline) {
    const DeviceAccess::Link link = device_.Connect(requireOnline);
    if (!link) return {};
    const float revision = link.document->IdentifyDevice();
    if (std::fabs(revision - kProgramRevision) > kRevisionTolerance ||
        link.document->DeviceKind() != DeviceIdentification::kControllerKind) {
        device_.ui.Message(kWrongDevice, MB_OK | MB_ICONEXCLAMATION);
        return {};
    }
    return link;
}

bool TranslationTransfer::CheckTextSizes(const CTranslation& translation) {
    for (size_t i = 0; i < DeviceLiterals::kLiteralCount; ++i) {
        const size_t size = translation.Text(i).size();
        if (size <= CTranslation::kMaxTextBytes) continue;
        // Rows are counted from 1 as the editor's list shows them; the literal says which it is.
        device_.ui.Message(DownloadTexts().sending + " - The translation of \"" + std::string(DeviceLiterals::Text(i)) +
                        "\" (row " + std::to_string(i + 1) + ") is " + std::to_string(size) +
                        " bytes; one frame holds at most " + std::to_string(CTranslation::kMaxTextBytes),
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool TranslationTransfer::Download(const CTranslation& translation) {
    if (TranslationPayload::PayloadBytes(translation.Texts()) == TranslationPayload::kEmptyTotal) {
        device_.ui.Message(kNothingToSend, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (!CheckTextSizes(translation)) return false;
    // The link and the block transfer report through the program's services; for this
    // transfer they are the ones handed in.
    ScopedUiServices scope(device_.ui);
    const DeviceAccess::Link link = RequireController(true);
    if (!link) return false;

    BlockWriter::Options options;
    options.secondFinalWait = true;
    BlockWriter writer(*link.protocol, kTransferWriteTranslation, DownloadTexts(), options);
    const auto header = TranslationPayload::Header(translation.Name(), translation.CharacterSet());
    if (writer.Write(header, TranslationPayload::Items(translation.Texts())) != TransferOutcome::Done) return false;
    // Whether the controller took the "LO" does not change that the translation went over.
    link.document->SendLoCommand();
    return true;
}

bool TranslationTransfer::Upload(CTranslation& translation) {
    ScopedUiServices scope(device_.ui);
    const DeviceAccess::Link link = RequireController(false);
    if (!link) return false;

    BlockReader reader(*link.protocol, kTransferReadTranslation, UploadTexts(), kMaxUploadBytes);
    std::vector<uint8_t> data;
    if (reader.Read(data) != TransferOutcome::Done) return false;
    std::optional<TranslationPayload::Parsed> parsed = TranslationPayload::Parse(data);
    if (!parsed) {
        device_.ui.Message(kTooShort, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    translation.Assign(std::move(parsed->name), parsed->characterSet, std::move(parsed->texts));
    return true;
}

}  // namespace qs
