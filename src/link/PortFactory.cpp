#include "link/PortFactory.h"

#include "link/SerialPort.h"
#include "link/TCPPort.h"

namespace qs {

std::unique_ptr<ComStream> OpenSerialPort(int comPort, const SerialSettings& settings) {
    return std::make_unique<SerialPort>(comPort, settings);
}

std::unique_ptr<ComStream> OpenTcpPort(const std::string& host, unsigned tcpPort) {
    return std::make_unique<TCPPort>(host, tcpPort);
}

}  // namespace qs
