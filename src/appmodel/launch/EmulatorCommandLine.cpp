#include "appmodel/launch/EmulatorCommandLine.h"

#include <algorithm>
#include <cstdio>

#include "link/BlockEnvelope.h"

namespace qs {

namespace {

// A COM number or device address always fits its digits, whatever a caller holds.
int Bounded(int value, int low, int high) { return std::clamp(value, low, high); }

constexpr int kMaxComPort = 99;
constexpr int kMaxAddress = 99;

}  // namespace

bool EmulatorCommandLine::UsesQuadLayout(const std::optional<std::string>& cfReply) {
    constexpr size_t kLayoutPlace = 4;
    return !(cfReply && cfReply->size() > kLayoutPlace && (*cfReply)[kLayoutPlace] == '0');
}

std::string EmulatorCommandLine::RemoteDisplayOverTcp(uint32_t ipv4, bool quad) {
    char text[32];
    std::snprintf(text, sizeof text, " COM%d ADDR%08X", 0, static_cast<unsigned>(ipv4));
    return std::string(text) + (quad ? " QUAD" : "");
}

std::string EmulatorCommandLine::RemoteDisplayOverSerial(int comPort, bool quad) {
    return " MASTER COM" + std::to_string(Bounded(comPort, 0, kMaxComPort)) + (quad ? " QUAD" : "");
}

std::string EmulatorCommandLine::Panel(int comPort, const std::array<int, kMaxArms>& armAddresses) {
    std::string text = " COM" + std::to_string(Bounded(comPort, 0, kMaxComPort)) + " ARMS ";
    for (size_t i = 0; i < armAddresses.size(); ++i) {
        if (i > 0 && armAddresses[i] == 0) break;
        char two[4];
        std::snprintf(two, sizeof two, "%02d", Bounded(armAddresses[i], 0, kMaxAddress));
        if (i > 0) text += ',';
        text += two;
    }
    return text;
}

std::vector<uint8_t> EmulatorCommandLine::HandoverRequest(uint16_t transferCode) {
    std::vector<uint8_t> request = BlockEnvelope::Head(transferCode);
    request.push_back(0x46);
    request.push_back(0xFE);
    return request;
}

}  // namespace qs
