#pragma once
#include <functional>
#include <optional>

namespace qs {

class DX3Protocol;

// What a report transfer is handed by the main frame and the view: the way to the device and
// the choice of report slot.
struct ReportDeviceAccess {
    // Chooses a program-data document, connects it and returns its protocol (online for a
    // download, any usable link for an upload); null once the failure has been shown.
    std::function<DX3Protocol*(bool requireOnline)> connectedProtocol;
    // "Select Report": the chosen row 0-4, nullopt for Cancel.
    std::function<std::optional<int>()> chooseDestination;
};

}  // namespace qs
