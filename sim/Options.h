#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/StatusCommands.h"
#include "device/LogBook.h"
#include "display/DisplayOptions.h"

namespace sim {

struct TcpEndpoint {
    std::string host;
    int port = 0;
};

// The command line of duravane-sim.
struct Options {
    static constexpr int kDefaultPort = 7734;
    static constexpr int kDisplayPort = 7744;

    std::vector<TcpEndpoint> tcp;
    std::vector<std::string> pty;
    std::vector<TcpEndpoint> displayTcp;
    DisplayOptions display;
    std::vector<int> addresses{1};
    std::string persona = "controller";
    std::string log;
    std::string state;
    std::vector<std::string> faults;
    std::string dataDir;
    std::string dictionary = DefaultDictionary();  // empty: no dictionary (--no-dictionary)
    std::optional<std::string> cf;
    size_t blockSize = 500;
    uint32_t writeLimit = 4u << 20;
    uint16_t panelHandoverStatus = 0;
    uint8_t pad = 0x00;
    int64_t frameTimeoutMs = 2000;
    StatusConfig status;
    LogOptions logs;
    bool help = false;

    // Parses the arguments after the program name. nullopt with `error` set on a fault. Without
    // --tcp, --pty and --display-tcp the simulator listens on 127.0.0.1:7734.
    static std::optional<Options> Parse(const std::vector<std::string>& args, std::string& error);
    static std::string Help();
    // The dictionary source folder of the source tree the simulator was built from.
    static std::string DefaultDictionary();
};

}  // namespace sim
