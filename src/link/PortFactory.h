#pragma once
#include <memory>
#include <string>

#include "link/ComStream.h"
#include "platform/SerialSettings.h"

namespace qs {

// The protocol constructors make their stream through these, so a protocol never depends on
// how a port is opened. The result is never null: a port that failed to open is a stream in
// state 0 with status 1.
std::unique_ptr<ComStream> OpenSerialPort(int comPort, const SerialSettings& settings);
std::unique_ptr<ComStream> OpenTcpPort(const std::string& host, unsigned tcpPort);

}  // namespace qs
