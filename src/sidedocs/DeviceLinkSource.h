#pragma once
#include <functional>

namespace qs {

class ComProtocol;
class CVexa3Doc;

// How a side document reaches the device: through a program-data document that the main
// frame picks and connects, handing over its protocol. Either member may be empty (no main
// frame); a transfer then ends without a word, as when the user cancels the choice.
struct DeviceLinkSource {
    // The program-data document to go through: the only one open, or the one the user picks;
    // null when there is none or the choice was cancelled.
    std::function<CVexa3Doc*()> chooseDocument;
    // Connects `document` and hands over its protocol at the document's base address; null,
    // after saying why, when there is no usable link or `requireOnline` and the device refused
    // the write test.
    std::function<ComProtocol*(CVexa3Doc& document, bool requireOnline)> connectedProtocol;
};

}  // namespace qs
