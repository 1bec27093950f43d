#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qs {

class ArchiveReader;
class ArchiveWriter;
class CDirectory;

// The link settings a ".D3X" file keeps after its header.
struct ProgramDataLink {
    int32_t port = 1;          // 0 TCP/IP, 1-99 COM n, -1 none
    int32_t baseAddress = 1;   // also arm 1's address
    uint32_t ipv4 = 0xC0A80001;  // first octet in the high byte
    std::array<int32_t, 5> armAddresses = {2, 3, 4, 5, 6};  // arms 2-6
    int32_t protocolKind = 1;  // 0 Terminal, 1 Minicomputer
    int32_t codePage = 0;      // row of the code-page table
    std::string title;         // written, ignored on reading
    std::string description;   // at most 32 characters

    friend bool operator==(const ProgramDataLink&, const ProgramDataLink&) = default;
};

// The body of a program-data file: the link settings, then one 54-byte value record per
// programmed value until the end of the file.
class ProgramDataFile {
public:
    static constexpr uint32_t kOlderFileIpv4 = 0xC0A80001;  // files without the field: 192.168.0.1
    static constexpr size_t kTextSize = 33;
    // Bytes of the link settings of a current file.
    static constexpr size_t kLinkSize = 4 + 4 + 4 + 5 * 4 + 4 + 4 + 2 * kTextSize;

    static void WriteLink(ArchiveWriter& out, const ProgramDataLink& link);
    // The link settings of a file of `magic` (30519 files have no IPv4 field). A field outside
    // its range (port -1..99, base address 1-99, arm addresses 0-99, protocol 0-1, code page
    // 0-5) keeps its default, so
    // a damaged field cannot reach a link or a table. Throws ArchiveError when the file ends
    // inside them.
    static ProgramDataLink ReadLink(ArchiveReader& in, int32_t magic);

    // "%d.%d.%d.%d", most significant byte first.
    static std::string HostText(uint32_t ipv4);

    // The value records of every directory of the chain from `first`, each per-arm directory
    // (but Arm, which keeps one value per arm itself) once per arm below `armCount`. Returns the
    // number of records.
    static size_t WriteValues(ArchiveWriter& out, const CDirectory* first, int armCount);
    // Places every whole record left in `in` on its code: the first directory of its type, the
    // code of that number, the value of that instance and its level. Records naming no such
    // directory, code or instance are passed over. Returns the number placed.
    static size_t PlaceValues(ArchiveReader& in, CDirectory* first);
};

}  // namespace qs
