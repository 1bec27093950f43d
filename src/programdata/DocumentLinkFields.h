#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace qs {

// The link settings of one program-data document as its options dialog edits them. The
// document fills one from its own fields and takes the result back after OK.
struct DocumentLinkFields {
    std::string description;  // bytes in the document's code page, at most 32
    int model = 0;            // device kind shown as a row of the model list; other values show none
    int port = 1;             // 0 TCP/IP, 1-99 COM n, -1 none
    int protocol = 1;         // 0 terminal, 1 minicomputer, -1 none chosen
    int baseAddress = 1;      // device address of arm 1, 1-99
    std::array<int, 5> armAddresses = {2, 3, 4, 5, 6};  // arms 2-6, 0-99 (0 = arm not used)
    int codePage = 0;         // row of the code-page table
    uint32_t ipv4 = 0xC0A80001;  // first octet in the high byte

    friend bool operator==(const DocumentLinkFields&, const DocumentLinkFields&) = default;
};

}  // namespace qs
