#pragma once
#include <cstddef>

#include "sidedocs/DeviceAccess.h"
#include "sidedocs/translations/CTranslation.h"

namespace qs {

class MiniProtocol;
struct TransferTexts;

// A translation to the controller (transfer code 0x0411) and back (0x0410), through the
// program-data document the main window hands over. Both need the controller of this program's own revision; a download
// refuses before anything is sent when there is nothing to send or a text cannot go in one
// frame, and after success the program-data document sends "LO".
class TranslationTransfer {
public:
    static constexpr const char* kNothingToSend = "No entries defined... nothing to download";
    static constexpr const char* kWrongDevice =
        "Translation read/dump requires Quillset and Duravane III be the same type/revision.";
    static constexpr const char* kTooShort = "The translation read from the device is shorter than its header.";
    // The largest set an upload takes: the header, every literal's text at the most a download
    // sends, and the closing 0x00.
    static constexpr size_t kMaxUploadBytes = 32 + (DeviceLiterals::kLiteralCount) * (CTranslation::kMaxTextBytes + 1) + 1;

    explicit TranslationTransfer(const DeviceAccess& device) : device_(device) {}

    bool Download(const CTranslation& translation);
    bool Upload(CTranslation& translation);

    static TransferTexts DownloadTexts();
    static TransferTexts UploadTexts();

private:
    // The link to a connected controller of this revision; empty after saying why.
    DeviceAccess::Link RequireController(bool requireOnline);
    // Says which text is too long to be sent; false when one is.
    bool CheckTextSizes(const CTranslation& translation);

    const DeviceAccess& device_;
};

}  // namespace qs
