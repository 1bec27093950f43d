#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qs {

class CEquationDoc;

// The bytes of one download, built whole before anything is sent: the set header, one device
// line per line that is not a comment, the end record and the constant tables. The total,
// the size limits and the CRC-32 are all taken from these bytes.
struct EquationSetPayload {
    static constexpr size_t kHeaderBytes = 30;
    static constexpr size_t kMaxTableBytes = 1000;
    static constexpr uint32_t kMaxTotal = 12000;
    static constexpr uint16_t kFloatTable = 20;
    static constexpr uint16_t kByteTable = 25;

    static constexpr const char* kAllComments = "All lines contain comments. Nothing to download.";
    static constexpr const char* kTooManyConstants =
        "Constant data exceeds allowable size... reduce number of constants";
    static constexpr const char* kTooLarge = "Equation set too large for destination buffer - reduce size/simplify";

    std::vector<uint8_t> header;
    std::vector<std::vector<uint8_t>> lines;
    std::vector<uint8_t> tables;

    // Every payload byte: header, lines, end record, tables and the closing 0x00.
    uint32_t Total() const;

    // The download of `doc`; nullopt with `refusal` set to what the user is told when the set
    // cannot be sent (a line that does not read back, only comments, too many constants, too
    // large).
    static std::optional<EquationSetPayload> Build(const CEquationDoc& doc, std::string& refusal);
};

}  // namespace qs
