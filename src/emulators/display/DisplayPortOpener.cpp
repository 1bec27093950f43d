#include "emulators/display/DisplayPortOpener.h"

#include "emulators/display/SerialDisplayPort.h"
#include "emulators/display/TcpDisplayPort.h"

namespace qs::display {

DisplayPortOpener::DisplayPortOpener(const UiServices& ui, const Clock& clock,
                                     std::function<std::string(int)> pathForCom)
    : ui_(ui), clock_(clock), pathForCom_(std::move(pathForCom)) {}

std::unique_ptr<DisplayPort> DisplayPortOpener::Open(int port, const std::string& address) const {
    if (port == 0) {
        auto tcp = std::make_unique<TcpDisplayPort>(clock_);
        tcp->Start(address);
        return tcp;
    }
    auto serial = std::make_unique<SerialDisplayPort>(clock_);
    switch (serial->Open(pathForCom_(port < 0 ? kDefaultCom : port))) {
    case SerialDisplayPort::OpenResult::kOk: return serial;
    case SerialDisplayPort::OpenResult::kCannotOpen: ui_.Message("Error opening communications port"); break;
    case SerialDisplayPort::OpenResult::kCannotSetUp: ui_.Message("Error initializing communications port"); break;
    }
    return nullptr;
}

}  // namespace qs::display
