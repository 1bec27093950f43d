#include "sidedocs/translations/CTranslation.h"

#include <cmath>

#include "platform/BinaryArchive.h"
#include "platform/DocumentFile.h"
#include "platform/UiServices.h"
#include "programdata/CFileHeader.h"
#include "programdata/CodePageTable.h"
#include "programdata/Revision.h"
#include "sidedocs/translations/TranslationRevisions.h"
#include "sidedocs/translations/TranslationTransfer.h"

namespace qs {

namespace {

// A file newer or older than the program by more than this is upgraded.
constexpr float kRevisionTolerance = 0.001f;

const std::string kNoText;

}  // namespace

CTranslation::CTranslation() : name_(kNewName), texts_(kTextCount) {}

void CTranslation::SetCharacterSet(int characterSet) {
    characterSet_ = CodePageTable::IsValidIndex(characterSet) ? characterSet : 0;
}

const std::string& CTranslation::Text(size_t index) const { return index < texts_.size() ? texts_[index] : kNoText; }

bool CTranslation::SetText(size_t index, std::string text) {
    if (index >= texts_.size()) return false;
    texts_[index] = std::move(text);
    return true;
}

void CTranslation::Assign(std::string name, int characterSet, std::vector<std::string> texts) {
    name_ = std::move(name);
    SetCharacterSet(characterSet);
    texts_ = std::move(texts);
    texts_.resize(kTextCount);
}

void CTranslation::Serialize(ArchiveWriter& out) const {
    CFileHeader::ForDocument(CFileHeader::kMagicTranslations, CFileHeader::kTranslationsDescription).Serialize(out);
    out.WriteI32(characterSet_);
    out.WriteFixedText(name_, kNameField);
    out.WriteStringArray(texts_);
}

void CTranslation::Serialize(ArchiveReader& in, const UiServices& ui) {
    CFileHeader header;
    header.LoadExpecting(in, {CFileHeader::kMagicTranslations});
    const int32_t characterSet = in.ReadI32();
    std::string name = in.ReadFixedText(kNameField);
    std::vector<std::string> texts = in.ReadStringArray(kMaxFileTexts, kMaxFileTextBytes);

    bool upgraded = false;
    if (std::fabs(header.Version() - kProgramRevision) > kRevisionTolerance) {
        ui.Message(kPreviousRevisionText, MB_OK | MB_ICONINFORMATION);
        if (const std::optional<size_t> row = TranslationRevisions::FindRow(header.Version())) {
            for (size_t r = *row; r < TranslationRevisions::kRowCount; ++r) UpgradeRevision(texts, r);
            upgraded = true;
        } else {
            ui.Message(kUnknownRevisionText, MB_OK | MB_ICONEXCLAMATION);
        }
    }
    // Every view and transfer walks the whole literal table: an array of any other length is
    // made to fit it.
    Assign(std::move(name), characterSet, std::move(texts));
    upgraded_ = upgraded;
}

bool CTranslation::Load(const std::string& path, const UiServices& ui) {
    return DocumentFile::Load(path, kMaxFileBytes, ui, [&](ArchiveReader& in) { Serialize(in, ui); });
}

bool CTranslation::Save(const std::string& path, const UiServices& ui) const {
    ArchiveWriter out;
    Serialize(out);
    return DocumentFile::Save(path, out, ui);
}

int CTranslation::UpgradeRevision(std::vector<std::string>& texts, size_t revisionRow) {
    const std::span<const int> edits = TranslationRevisions::EditList(revisionRow);
    if (edits.empty()) return 0;
    TranslationRevisions::ApplyEditList(texts, edits);
    return 1;
}

bool CTranslation::DownloadToDevice(const DeviceAccess& device) const {
    return TranslationTransfer(device).Download(*this);
}

bool CTranslation::UploadFromDevice(const DeviceAccess& device) { return TranslationTransfer(device).Upload(*this); }

}  // namespace qs
