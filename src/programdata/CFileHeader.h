#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

class ArchiveReader;
class ArchiveWriter;

// The header every document file but the card database starts with (74 bytes, little-endian):
// int32 magic naming the document type, float32 revision of the writing program, char[33]
// description, char[33] notice text.
class CFileHeader {
public:
    static constexpr size_t kTextSize = 33;
    static constexpr size_t kMaxTextLength = kTextSize - 1;
    static constexpr size_t kSize = 4 + 4 + 2 * kTextSize;

    static constexpr int32_t kMagicProgramData = 30520;     // .D3X
    static constexpr int32_t kMagicProgramDataOld = 30519;  // .D3X without the IPv4 field
    static constexpr int32_t kMagicEquations = 30567;       // .EQX
    static constexpr int32_t kMagicReports = 30551;         // .RPX
    static constexpr int32_t kMagicTranslations = 30535;    // .LGX

    // Longer than the field on purpose (trailing blank): the file gets its first 32 characters.
    static constexpr std::string_view kProgramDataDescription = "Duravane III.NET Data File (.D3X) ";
    static constexpr std::string_view kEquationsDescription = "DuravaneIIIX EquationSet(.EQX)";
    static constexpr std::string_view kReportsDescription = "DuravaneIIIX Report Def (.RPX)";
    static constexpr std::string_view kTranslationsDescription = "DuravaneIIIX Translation (.LGX)";
    // Readers ignore it.
    static constexpr std::string_view kNotice = "(c) Norvane Technologies";

    CFileHeader() = default;
    // Each text keeps at most 32 characters (and nothing after a NUL).
    CFileHeader(int32_t magic, float version, std::string_view description, std::string_view notice);

    // The header this program writes for a document type: its revision and notice text.
    static CFileHeader ForDocument(int32_t magic, std::string_view description);

    void Serialize(ArchiveWriter& out) const;

    // Reads the 74 bytes. A revision that is not 0 and lies outside [0.1, 100) was written by
    // an older program as an integer: its four bytes are taken as that integer's value.
    void Serialize(ArchiveReader& in);

    // Serialize, then refuse (ArchiveError BadIndex, this header unchanged) a magic not in
    // `accepted`: the file is not of the document's type.
    void LoadExpecting(ArchiveReader& in, std::initializer_list<int32_t> accepted);

    int32_t Magic() const { return magic_; }
    float Version() const { return version_; }
    const std::string& Description() const { return description_; }
    const std::string& Notice() const { return notice_; }

    // Compared as the float32 the file holds, so a file this program wrote is neither.
    bool IsOlderThanProgram() const;
    bool IsNewerThanProgram() const;

    // What opening a program-data file with this header tells the user; none for a file of
    // this program's revision.
    std::optional<std::string> RevisionWarning() const;

private:
    int32_t magic_ = 0;
    float version_ = 0.0f;
    std::string description_;
    std::string notice_;
};

}  // namespace qs
