#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

// A translation as the controller sends and takes it: a 32-byte header (bytes 0-28 the name,
// NUL-padded; byte 29 zero; bytes 30-31 the character set, big-endian) and then the texts of
// literals 0-4573, each ended by a NUL.
class TranslationPayload {
public:
    static constexpr size_t kHeaderBytes = 32;
    static constexpr size_t kNameBytes = 29;
    static constexpr size_t kCharsetOffset = 30;
    // Header and texts of a translation whose every text is empty.
    static constexpr uint64_t kEmptyTotal = kHeaderBytes + 4574;

    static std::array<uint8_t, kHeaderBytes> Header(std::string_view name, int characterSet);
    // Texts 0-4573 (missing ones empty), each with its NUL: the items of the write.
    static std::vector<std::string> Items(const std::vector<std::string>& texts);
    // Header and items: the payload before the closing 0x00.
    static uint64_t PayloadBytes(const std::vector<std::string>& texts);

    struct Parsed {
        std::string name;
        int characterSet = 0;
        std::vector<std::string> texts;  // 4574 entries; those the data did not reach are empty
    };
    // The data of an upload; nullopt when they are too short for the header. Texts are read
    // up to the end of the data, never beyond; a last text the data cut off keeps what came.
    static std::optional<Parsed> Parse(std::span<const uint8_t> data);
};

}  // namespace qs
