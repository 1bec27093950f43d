#pragma once
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace qs {

class ArchiveWriter;
class MiniProtocol;

// One definition request of a definition-file build: "SV ", the transfer code and 16-bit
// big-endian arguments, sent as a binary block; the reply's data is one code's definition.
class DefinitionRequest {
public:
    static constexpr uint16_t kDictionaryCode = 0x0414;  // PARAM.DAT: data type, directory, position
    static constexpr uint16_t kDirectoryCode = 0x0415;   // .SD3: directory type, 0, digit, index

    enum class Result { Defined, Absent, Failed };

    DefinitionRequest(uint16_t transferCode, std::initializer_list<uint16_t> arguments);

    const std::vector<uint8_t>& Bytes() const { return bytes_; }

    // Sends the request and reads the reply. Defined: the code's definition was stored into
    // `out` with `number`; Absent: the device rejected the request (no such code); Failed: the
    // link failed or the reply was too short to be a definition.
    Result Run(MiniProtocol& protocol, int number, ArchiveWriter& out) const;

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace qs
