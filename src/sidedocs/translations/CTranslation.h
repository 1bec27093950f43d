#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sidedocs/translations/DeviceLiterals.h"

namespace qs {

class ArchiveReader;
class ArchiveWriter;
struct DeviceAccess;
struct UiServices;

// One translation of the controller's texts: a name, the character set its texts are written
// in (a row of the code-page table) and one replacement text for every device literal. It is
// kept in an ".LGX" file, brought up to date when the file comes from an older program revision,
// and written to and read from the controller.
class CTranslation {
public:
    static constexpr const char* kNewName = "New Translation";
    // One text per entry of the literal table; the last pairs with the sentinel, never sent.
    static constexpr size_t kTextCount = DeviceLiterals::kTableSize;
    static constexpr size_t kNameField = 33;
    // Longest text a translation may hold: with its NUL behind the 5-byte head it fills a frame.
    static constexpr size_t kMaxTextBytes = 501;
    // Bounds on what a file may hold before it is refused.
    static constexpr size_t kMaxFileBytes = 16u << 20;
    static constexpr size_t kMaxFileTexts = 65535;
    static constexpr size_t kMaxFileTextBytes = 65535;

    static constexpr const char* kPreviousRevisionText = "This file is from a previous revision. It will be updated now.";
    static constexpr const char* kUnknownRevisionText = "Unable to determine source revision... aborting upgrade";

    // A new translation: "New Translation", character set 0, every text empty.
    CTranslation();

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    int CharacterSet() const { return characterSet_; }
    void SetCharacterSet(int characterSet);
    const std::vector<std::string>& Texts() const { return texts_; }
    // Text `index`; "" outside the array.
    const std::string& Text(size_t index) const;
    // False (nothing stored) outside the array.
    bool SetText(size_t index, std::string text);
    // Takes over everything a transfer or another document holds.
    void Assign(std::string name, int characterSet, std::vector<std::string> texts);

    // Set when loading upgraded a file of an older revision, until the editor has dealt with it.
    bool Upgraded() const { return upgraded_; }
    void ClearUpgraded() { upgraded_ = false; }

    // The ".LGX" file: the common header, the character set (int32), the name (char[33]) and
    // the texts as a string array.
    void Serialize(ArchiveWriter& out) const;
    // Reads a file image. A file that is not a translation file, or ends early, throws
    // ArchiveError and leaves the translation as it was. A file of another revision is upgraded
    // (said through `ui`). The texts always end up one per literal-table entry.
    void Serialize(ArchiveReader& in, const UiServices& ui);
    // The file at `path`; a file that cannot be read or is refused is said, and gives false.
    bool Load(const std::string& path, const UiServices& ui);
    // Writes through a temporary file and a rename; a failure is said and leaves the old file.
    bool Save(const std::string& path, const UiServices& ui) const;

    // Applies the edit list of one revision row to `texts`: 0 when the row has none, else 1.
    static int UpgradeRevision(std::vector<std::string>& texts, size_t revisionRow);

    // To and from the controller through the program-data document `device` chooses; true on
    // success (every failure has been said, a cancel ends silently). An upload changes nothing
    // unless it succeeds.
    bool DownloadToDevice(const DeviceAccess& device) const;
    bool UploadFromDevice(const DeviceAccess& device);

private:
    std::string name_;
    int characterSet_ = 0;
    std::vector<std::string> texts_;
    bool upgraded_ = false;
};

}  // namespace qs
