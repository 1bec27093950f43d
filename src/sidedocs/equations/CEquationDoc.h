#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "sidedocs/equations/CEquation.h"

namespace qs {

class ArchiveReader;
class ArchiveWriter;
class ParamDictionary;
struct DeviceAccess;
struct UiServices;

// One equation set: its lines, its name and whether its lines start disabled in the
// controller. It is kept in an ".EQX" file and sent to and read from the controller.
class CEquationDoc {
public:
    // The controller runs at most this many lines; no file holds more.
    static constexpr size_t kMaxLines = 200;
    static constexpr size_t kNameFieldSize = 33;
    static constexpr size_t kMaxFileBytes = 4u << 20;

    // `dictionary` (outliving the document) names the registers of the lines.
    explicit CEquationDoc(const ParamDictionary& dictionary) : dictionary_(dictionary) {}
    CEquationDoc(const CEquationDoc&) = delete;
    CEquationDoc& operator=(const CEquationDoc&) = delete;

    EquationList& Lines() { return lines_; }
    const EquationList& Lines() const { return lines_; }
    const std::string& SetName() const { return name_; }
    void SetSetName(std::string name) { name_ = std::move(name); }
    int32_t DisableFlag() const { return disable_; }
    void SetDisableFlag(int32_t flag) { disable_ = flag; }
    const ParamDictionary& Dictionary() const { return dictionary_; }
    // What the language needs of this set to read and check one of its lines.
    EquationContext Context() const { return {dictionary_, lines_}; }

    // The 1-based position, among the lines that are not comments, of the first line with this
    // destination; 0 when there is none.
    int FindLinePosition(int type, int index) const;

    // The ".EQX" file: header, name, disable flag, the lines.
    void Serialize(ArchiveWriter& out) const;
    // Throws ArchiveError for a file that is not an equation set or is damaged, and then leaves
    // the document as it was.
    void Serialize(ArchiveReader& in);
    // The file at `path`; a failure is said and gives false.
    bool Load(const std::string& path, const UiServices& ui);
    // Writes through a temporary file and a rename; a failure is said and leaves the old file.
    bool Save(const std::string& path, const UiServices& ui) const;

    // Sends the set to the controller through the program-data document `device` chooses, once
    // the set is known to have lines; the device must be online. True when it took the set.
    bool Download(const DeviceAccess& device) const;
    // Reads the controller's set (any connected state) and appends its lines; on any failure
    // nothing is appended.
    bool Upload(const DeviceAccess& device);

private:
    const ParamDictionary& dictionary_;
    EquationList lines_;
    std::string name_;
    int32_t disable_ = 0;
};

}  // namespace qs
