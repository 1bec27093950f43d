#include "programdata/CFileHeader.h"

#include <algorithm>
#include <bit>

#include "platform/ArchiveReader.h"
#include "platform/ArchiveWriter.h"
#include "programdata/Revision.h"

namespace qs {

namespace {
std::string FieldText(std::string_view text) {
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    return std::string(text.substr(0, CFileHeader::kMaxTextLength));
}
}  // namespace

CFileHeader::CFileHeader(int32_t magic, float version, std::string_view description, std::string_view notice)
    : magic_(magic), version_(version), description_(FieldText(description)), notice_(FieldText(notice)) {}

CFileHeader CFileHeader::ForDocument(int32_t magic, std::string_view description) {
    return CFileHeader(magic, kProgramRevision, description, kNotice);
}

void CFileHeader::Serialize(ArchiveWriter& out) const {
    out.WriteI32(magic_);
    out.WriteFloat(version_);
    out.WriteFixedText(description_, kTextSize);
    out.WriteFixedText(notice_, kTextSize);
}

void CFileHeader::Serialize(ArchiveReader& in) {
    const int32_t magic = in.ReadI32();
    float version = in.ReadFloat();
    std::string description = in.ReadFixedText(kTextSize);
    std::string notice = in.ReadFixedText(kTextSize);
    // NaN fails both comparisons and is treated like any other out-of-range pattern.
    if (version != 0.0f && !(version >= 0.1f && version < 100.0f))
        version = static_cast<float>(std::bit_cast<int32_t>(version));
    magic_ = magic;
    version_ = version;
    description_ = std::move(description);
    notice_ = std::move(notice);
}

void CFileHeader::LoadExpecting(ArchiveReader& in, std::initializer_list<int32_t> accepted) {
    CFileHeader loaded;
    loaded.Serialize(in);
    if (std::find(accepted.begin(), accepted.end(), loaded.magic_) == accepted.end())
        throw ArchiveError(ArchiveFault::BadIndex, "file magic " + std::to_string(loaded.magic_) +
                                                       " is not of this document type");
    *this = std::move(loaded);
}

bool CFileHeader::IsOlderThanProgram() const { return version_ < kProgramRevision; }

bool CFileHeader::IsNewerThanProgram() const { return version_ > kProgramRevision; }

std::optional<std::string> CFileHeader::RevisionWarning() const {
    const std::string file = FormatRevision(version_);
    if (IsOlderThanProgram())
        return "This file was last saved with Quillset Revision " + file + "\nProgram codes added after Revision " +
               file + " will not yet have values programmed.";
    if (IsNewerThanProgram())
        return "This file was created with a newer revision Quillset (Rev" + file +
               "). Not all data will be loaded.\nWarning: Saving the file from this Quillset (rev " +
               FormatRevision(kProgramRevision) + ") may result in data loss.";
    return std::nullopt;
}

}  // namespace qs
