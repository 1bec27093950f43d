#pragma once
#include <string>

#include <gtest/gtest.h>

#include "link/ComProtocol.h"

namespace qs::test {

// How bytes reach the device (a loopback TCP connection or a serial line, the simulator's pty)
// and how commands are framed on it.
enum class Transport { Tcp, Pty };
enum class Framing { Terminal, Mini };

struct LinkKind {
    Transport transport = Transport::Tcp;
    Framing framing = Framing::Terminal;
};

// The document's protocol kind for a framing.
inline int ProtocolKindOf(Framing f) { return f == Framing::Mini ? kProtocolMini : kProtocolTerminal; }

inline std::string Name(Transport t) { return t == Transport::Tcp ? "Tcp" : "Pty"; }
inline std::string Name(Framing f) { return f == Framing::Terminal ? "Terminal" : "Mini"; }
inline std::string Name(const LinkKind& kind) { return Name(kind.transport) + "_" + Name(kind.framing); }

// Test names for suites over links, transports or framings: "Tcp_Terminal", "Pty", "Mini".
struct LinkName {
    template <class T>
    std::string operator()(const ::testing::TestParamInfo<T>& info) const {
        return Name(info.param);
    }
};

// Every transport and framing; the transports alone.
inline const LinkKind kAllLinks[] = {{Transport::Tcp, Framing::Terminal},
                                     {Transport::Tcp, Framing::Mini},
                                     {Transport::Pty, Framing::Terminal},
                                     {Transport::Pty, Framing::Mini}};
inline const Transport kTransports[] = {Transport::Tcp, Transport::Pty};

}  // namespace qs::test
