#include "sidedocs/equations/EquationClipboardBlock.h"

#include "platform/ArchiveError.h"
#include "platform/ArchiveReader.h"
#include "platform/ArchiveWriter.h"
#include "sidedocs/equations/CEquation.h"

namespace qs {
namespace {

constexpr uint32_t kMarker = 0x31514551;  // "QEQ1"

}  // namespace

std::string EquationClipboardBlock::Encode(const CEquation& line) {
    ArchiveWriter out;
    out.WriteU32(kMarker);
    out.WriteU16(kVersion);
    line.Store(out);
    // A comment's record already holds its text; every other line carries it after the record.
    if (!line.IsComment()) out.WriteString(std::string_view(line.text).substr(0, kMaxTextLength));
    return out.Bytes();
}

std::unique_ptr<CEquation> EquationClipboardBlock::Decode(std::string_view bytes) {
    try {
        ArchiveReader in{std::string(bytes)};
        if (in.ReadU32() != kMarker || in.ReadU16() != kVersion) return nullptr;
        auto line = std::make_unique<CEquation>();
        line->Load(in);
        if (!line->IsComment()) line->text = in.ReadString(kMaxTextLength);
        if (!in.AtEnd()) return nullptr;
        return line;
    } catch (const ArchiveError&) {
        return nullptr;
    }
}

}  // namespace qs
