#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "link/ComProtocol.h"

namespace qs {

// The protocol of the Duravane III controller: keeps the device's last rejection or status
// code and turns it into its text for the user.
class DX3Protocol : public ComProtocol {
public:
    // A rejection (port status 8): a box with "<prefix> - <text of the last code>", the prefix
    // defaulting to "Command Rejected - ". Any other status: the port shows its own status and
    // the prefix is not passed on. Returns the box's result.
    virtual int ReportError(const char* prefix, unsigned type);

    // The text of the last code; a code outside the device's tables gives "Unknown Error 0x"
    // followed by at least four upper-case hexadecimal digits (e.g. "Unknown Error 0x802F").
    std::string GetErrorText() const;
    static std::string ErrorText(uint32_t code);

    uint32_t LastCode() const { return lastCode_; }

protected:
    DX3Protocol(int comPort, const SerialSettings& settings, int protocolIndex, int address);
    DX3Protocol(const std::string& host, unsigned tcpPort, int protocolIndex, int address);
    DX3Protocol(std::unique_ptr<ComStream> port, int protocolIndex, int address);

    uint32_t lastCode_ = 0;
};

}  // namespace qs
