#pragma once
#include <functional>

namespace qs {

class CVexa3Doc;
class DX3Protocol;
class MiniProtocol;
struct UiServices;

// What a side document's transfer is handed to reach the device and the user: the choice of the
// program-data document it goes through (the only one open, or the one the user picks; null when
// there is none or the choice was cancelled), that document connected with its protocol handed
// over at the document's base address (null, after saying why, when there is no usable link or
// `requireOnline` and the device refused the write test), and the services it speaks through.
// The main window fills it; tests fill it with their own.
struct DeviceAccess {
    const UiServices& ui;
    std::function<CVexa3Doc*()> chooseDocument;
    std::function<DX3Protocol*(CVexa3Doc& document, bool requireOnline)> connectedProtocol;

    // The link a transfer runs on: the chosen document and its protocol as a binary link.
    struct Link {
        CVexa3Doc* document = nullptr;
        MiniProtocol* protocol = nullptr;

        explicit operator bool() const { return document != nullptr && protocol != nullptr; }
    };
    // Chooses and connects the document and checks that its protocol can carry block transfers
    // (Minicomputer framing on 8 data bits). An empty link when a step fails: the failure has
    // been said (a cancelled choice says nothing).
    Link Connect(bool requireOnline) const;
};

}  // namespace qs
