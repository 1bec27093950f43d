#include "link/ComPortTable.h"

#include <sys/stat.h>

#include "link/CommSettingsText.h"
#include "link/MiniProtocol.h"
#include "link/TerminalProtocol.h"
#include "platform/IniProfile.h"
#include "platform/Paths.h"
#include "platform/SerialDevice.h"
#include "platform/UiServices.h"

namespace qs {

namespace {

// The slot of a port number already checked with IsValidPort.
size_t Slot(int n) { return static_cast<size_t>(n); }

}  // namespace

ComPortTable::ComPortTable() = default;

ComPortTable::~ComPortTable() = default;

bool ComPortTable::OpenComPort(int n, bool useMiniProtocol, const SerialSettings* settings) {
    if (!IsValidPort(n)) return false;
    protocols_[Slot(n)].reset();

    SerialSettings chosen;
    if (settings) {
        chosen = *settings;
    } else {
        // A port with no device node has no system configuration: nothing to say about it.
        struct stat st {};
        if (::stat(SerialPathForCom(n).c_str(), &st) != 0) return false;
        auto fromIni = ReadCommSettings(IniProfile(paths::IniPath()), n);
        if (!fromIni) return false;
        chosen = *fromIni;
    }

    std::unique_ptr<ComProtocol> protocol;
    if (useMiniProtocol) protocol = std::make_unique<MiniProtocol>(n, chosen);
    else protocol = std::make_unique<TerminalProtocol>(n, chosen, kProtocolTerminal);

    if (protocol->Port()->State() >= kStateOpen) {
        protocols_[Slot(n)] = std::move(protocol);
        return true;
    }
    protocol.reset();
    ShowMessage("Unable to open Com" + std::to_string(n) + " - Not found or in use", MB_OK);
    return false;
}

bool ComPortTable::AddRefPort(int n) {
    if (!IsValidPort(n) || !protocols_[Slot(n)]) return false;
    ++counts_[Slot(n)];
    return true;
}

bool ComPortTable::ReleasePort(int n) {
    if (!IsValidPort(n) || counts_[Slot(n)] <= 0) return false;
    if (--counts_[Slot(n)] > 0) return false;
    protocols_[Slot(n)].reset();
    return true;
}

ComProtocol* ComPortTable::Protocol(int n) const { return IsValidPort(n) ? protocols_[Slot(n)].get() : nullptr; }

int ComPortTable::RefCount(int n) const { return IsValidPort(n) ? counts_[Slot(n)] : 0; }

void ComPortTable::CloseSlot(int n) {
    if (IsValidPort(n)) protocols_[Slot(n)].reset();
}

}  // namespace qs
