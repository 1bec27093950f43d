#include "sidedocs/equations/CEquationDoc.h"

#include "platform/ArchiveReader.h"
#include "platform/ArchiveWriter.h"
#include "platform/DocumentFile.h"
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
    return DocumentFile::Load(path, kMaxFileBytes, ui, [this](ArchiveReader& in) { Serialize(in); });
}

bool CEquationDoc::Save(const std::string& path, const UiServices& ui) const {
    ArchiveWriter out;
    Serialize(out);
    return DocumentFile::Save(path, out, ui);
}

bool CEquationDoc::Download(const DeviceAccess& device) const { return EquationDownload(*this, device).Run(); }

bool CEquationDoc::Upload(const DeviceAccess& device) {
    EquationList uploaded;
    if (!EquationUpload(dictionary_, device).Run(uploaded)) return false;
    for (auto& line : uploaded) lines_.push_back(std::move(line));
    return true;
}

}  // namespace qs
