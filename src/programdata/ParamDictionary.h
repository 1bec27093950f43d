#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "programdata/CParam.h"

namespace qs {

class ArchiveWriter;
class MiniProtocol;
struct DefinitionSource;

// The parameter dictionary: every register of the device, read from "PARAM.DAT" into one list
// in file order, and 390 heads (39 dictionary directories x 10 data types) pointing at the
// first register of each (directory, data type) group. Register ids resolve through it.
class ParamDictionary {
public:
    static constexpr int kDirectories = 39;
    static constexpr int kDataTypes = 10;
    static constexpr int kHeads = kDirectories * kDataTypes;
    // Largest "PARAM.DAT" read.
    static constexpr size_t kMaxFileBytes = 64u << 20;
    // Positions asked for per (directory, data type) group when the file is built.
    static constexpr int kBuildPositions = 300;

    ParamDictionary() = default;
    ParamDictionary(const ParamDictionary&) = delete;
    ParamDictionary& operator=(const ParamDictionary&) = delete;

    // The one the application fills at start-up and everything else reads.
    static ParamDictionary& Instance();

    void Clear();
    bool Empty() const { return records_.empty(); }
    size_t Size() const { return records_.size(); }
    CParam* First() const { return records_.empty() ? nullptr : records_.front().get(); }
    // Head of (directory, data type); null outside 0-38 / 0-9 or when the group is empty.
    CParam* Head(int directory, int dataType) const;

    // Replaces the contents with the records of a "PARAM.DAT" image; a record cut short ends
    // the load. A record becomes the head of its group when it starts a new group in file
    // order and the group has none yet; records naming a directory above 38 or a data type
    // above 9 stay in the list but head nothing. Returns the number of records read.
    size_t Load(std::string bytes);
    // Load from a file; false when it cannot be read or holds no record.
    [[nodiscard]] bool LoadFile(const std::string& path);
    // "PARAM.DAT" from the source's folders; when it is missing it is built from the device
    // first (BuildFile). False when there is none and none could be built, or it holds no
    // record: the dictionary is then empty.
    [[nodiscard]] bool LoadOrBuild(const DefinitionSource& source);
    // Builds "PARAM.DAT" in the source's build folder over its link, through a temporary
    // file renamed only when complete (a failed or empty build leaves nothing behind).
    static bool BuildFile(const DefinitionSource& source);
    static constexpr const char* kFileName = "PARAM.DAT";

    CParam* FirstParamOfRow(int directory) const;
    // Null for an empty dictionary, a directory above 38, a data type above 9, an empty
    // group, or a walk of `position` steps that runs out or leaves its group.
    CParam* FindParamByRegisterId(uint32_t id) const;
    // The arm field (arm number - 1); 0 for an empty dictionary.
    int RegisterIdArm(uint32_t id) const;

    // Asks the device for every definition ("SV " 0x0414 for each data type, directory and
    // position; a rejection ends a group) and stores them into `out` in that order.
    // Returns the number of records, or -1 when the link failed or a reply was malformed.
    static int FetchDefinitions(MiniProtocol& protocol, ArchiveWriter& out);

    // The names of dictionary directories 0-38; "" outside.
    static const char* DirectoryName(int directory);

private:
    std::vector<std::unique_ptr<CParam>> records_;
    std::array<CParam*, kHeads> heads_{};
};

// Register id: bits 28-31 arm number - 1, 24-27 data type, 16-23 dictionary directory, 8-15
// position, 0-7 instance (1 to the register's instance count, 0 for none).
uint32_t MakeRegisterId(unsigned armIndex, unsigned dataType, unsigned directory, unsigned position,
                        unsigned instance);
inline unsigned RegisterIdDataType(uint32_t id) { return (id >> 24) & 0x0F; }
inline unsigned RegisterIdDirectory(uint32_t id) { return (id >> 16) & 0xFF; }
inline unsigned RegisterIdPosition(uint32_t id) { return (id >> 8) & 0xFF; }
inline unsigned RegisterIdInstance(uint32_t id) { return id & 0xFF; }

// The process-wide dictionary's answers.
CParam* FirstParamOfRow(int directory);
CParam* FindParamByRegisterId(uint32_t id);
int RegisterIdArm(uint32_t id);

}  // namespace qs
