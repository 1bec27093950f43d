// quillset-demodoc OUTPUT.D3X DATA_DIR [IPV4]
// Writes a program-data document for the demo: linked over TCP/IP to IPV4 (default 127.0.0.1),
// Minicomputer protocol, device address 1, with the directories the definition files in
// DATA_DIR describe. Nothing is asked of any device.
#include <arpa/inet.h>

#include <cstdio>
#include <string>

#include "link/ComPortTable.h"
#include "programdata/CVexa3Doc.h"
#include "programdata/DefinitionSource.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s OUTPUT.D3X DATA_DIR [IPV4]\n", argv[0]);
        return 2;
    }
    const std::string output = argv[1];
    const std::string host = argc == 4 ? argv[3] : "127.0.0.1";
    in_addr address{};
    if (::inet_pton(AF_INET, host.c_str(), &address) != 1) {
        std::fprintf(stderr, "%s: not an IPv4 address: %s\n", argv[0], host.c_str());
        return 2;
    }
    qs::DefinitionSource source;
    source.searchDirs = {argv[2]};  // no build folder, no link: missing definitions stay missing
    qs::ComPortTable ports;
    qs::CVexa3Doc doc(ports, source);
    if (doc.FirstDirectory() == nullptr) {
        std::fprintf(stderr, "%s: no definition files (.SD3) in %s\n", argv[0], argv[2]);
        return 1;
    }
    doc.SetDescription("Demo rack");
    doc.SetPortIndex(qs::CVexa3Doc::kPortTcp);
    doc.SetIpv4(ntohl(address.s_addr));
    doc.SetProtocolKind(1);
    doc.SetBaseAddress(1);
    if (!doc.Save(output)) return 1;
    return 0;
}
