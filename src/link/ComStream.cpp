#include "link/ComStream.h"

#include <array>

#include "link/ComHandleTable.h"
#include "platform/UiServices.h"

namespace qs {

namespace {

constexpr std::array<const char*, 10> kStatusTexts = {
    "Communications status OK",
    "Cannot open Communications Port",
    "Error In Transmission of Data",
    "Parity Error detected in response",
    "Framing Error detected in response",
    "Overrrun Error detected in response",
    "Error receiving response",
    "Timeout waiting for response",
    "Transmitted Command was rejected",
    "Protocol error in response",
};

}  // namespace

const char* ComStream::StatusText(int status) {
    if (status < 0 || status >= static_cast<int>(kStatusTexts.size())) return "";
    return kStatusTexts[static_cast<size_t>(status)];
}

std::string ComStream::DefaultErrorPrefix() const {
    return "Error on serial device at port " + std::to_string(portNumber_) + ":";
}

int ComStream::ShowError(const char* prefix, unsigned type) {
    // A failed write or read has no text of its own beyond what the system says about it.
    if (status_ == kStatusReceiveError) {
        ComPortShowLastError(systemError_);
        return IDABORT;
    }
    std::string text = prefix ? std::string(prefix) : DefaultErrorPrefix();
    text += " - ";
    text += StatusText(status_);
    return ShowMessage(text, type);
}

}  // namespace qs
