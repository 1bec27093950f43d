#include "sidedocs/equations/CEquationDoc.h"

#include <cerrno>
#include <cstring>

#include "platform/ArchiveError.h"
#include "platform/ArchiveReader.h"
#include "platform/ArchiveWriter.h"
#include "platform/UiServices.h"
#include "programdata/CFileHeader.h"
#include "sidedocs/equations/EquationDownload.h"
#include "sidedocs/equations/EquationRecord.h"
#include "sidedocs/equations/EquationUpload.h"

namespace qs {

int CEquationDoc::FindLinePosition(int type, int index) const {
    return EquationRecord::FindLinePosition(lines_, type, index);
}

void CEquationDoc::Serialize(ArchiveWriter& out) const {
    CFileHeader::ForDocument(CFileHeader::kMagicEquations, CFileHeader::kEquationsDescription).Serialize(out);
    out.WriteFixedText(name_, kNameFieldSize);
    out.WriteI32(disable_);
    out.WriteObjectList(lines_);
}

void CEquationDoc::Serialize(ArchiveReader& in) {
    CFileHeader header;
    header.LoadExpecting(in, {CFileHeader::kMagicEquations});
    std::string name = in.ReadFixedText(kNameFieldSize);
    const int32_t disable = in.ReadI32();
    std::vector<std::unique_ptr<CEquation>> lines =
        in.ReadObjectList<CEquation>(CEquation::Registry(header.Version()), kMaxLines);
    for (auto& line : lines) line->SetText(nullptr, dictionary_);
    lines_ = std::move(lines);
    name_ = std::move(name);
    disable_ = disable;
}

bool CEquationDoc::Load(const std::string& path, const UiServices& ui) {
    std::string bytes;
    const auto status = ArchiveReader::ReadFile(path, kMaxFileBytes, bytes);
    if (status != ArchiveReader::FileStatus::Ok) {
        const char* why = status == ArchiveReader::FileStatus::TooLarge  ? "The file is too large."
                          : status == ArchiveReader::FileStatus::NotAFile ? "It is not a file."
                                                                          : std::strerror(errno);
        ui.Message("Unable to open " + path + "\n" + why, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    ArchiveReader in(std::move(bytes));
    try {
        Serialize(in);
    } catch (const ArchiveError&) {
        ui.Message("Unable to open " + path + "\nUnexpected file format.", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool CEquationDoc::Save(const std::string& path, const UiServices& ui) const {
    ArchiveWriter out;
    Serialize(out);
    if (!out.SaveTo(path)) {
        const int error = errno;
        ui.Message("Unable to save " + path + "\n" + std::strerror(error ? error : EIO) +
                       "\nThe file on disk has not been changed.",
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool CEquationDoc::Download(const ProtocolRequest& link, const UiServices& ui) const {
    return EquationDownload(*this, ui).Run(link);
}

bool CEquationDoc::Upload(const ProtocolRequest& link, const UiServices& ui) {
    EquationList uploaded;
    if (!EquationUpload(dictionary_, ui).Run(link, uploaded)) return false;
    for (auto& line : uploaded) lines_.push_back(std::move(line));
    return true;
}

}  // namespace qs
