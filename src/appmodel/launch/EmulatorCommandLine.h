#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qs {

// What Quillset gives the emulator programs: the parameter texts of their command lines and
// the request that hands the device's serial port over to them.
class EmulatorCommandLine {
public:
    static constexpr const char* kRemoteDisplayProgram = "farview";
    static constexpr const char* kPanelProgram = "panelsim";
    static constexpr int kMaxArms = 6;

    // The four-display faceplate unless the device's reply to "CF" has '0' in its fifth place;
    // no reply, a rejection or a reply shorter than five characters all mean four displays.
    static bool UsesQuadLayout(const std::optional<std::string>& cfReply);

    // " COM0 ADDR%08X" with the IPv4 address (first octet first), then " QUAD" when asked.
    static std::string RemoteDisplayOverTcp(uint32_t ipv4, bool quad);
    // " MASTER COM%d", then " QUAD" when asked.
    static std::string RemoteDisplayOverSerial(int comPort, bool quad);
    // " COM%d ARMS " and the arm addresses as two digits joined by ",": the first always, then
    // each further one up to the sixth until one is 0.
    static std::string Panel(int comPort, const std::array<int, kMaxArms>& armAddresses);

    // "SV " + the transfer code + 0x46 0xFE: seven bytes.
    static std::vector<uint8_t> HandoverRequest(uint16_t transferCode);
};

}  // namespace qs
