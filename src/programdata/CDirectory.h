#pragma once
#include <memory>
#include <string>
#include <vector>

#include "programdata/CDirBase.h"
#include "programdata/CSubdirectory.h"
#include "programdata/ShownFilter.h"

namespace qs {

class ArchiveWriter;
class CParam;
class MiniProtocol;
class PrintSheet;
class ProgramDataContext;
class ProgressSink;
struct DefinitionSource;

// One directory of program codes (Config, System, Arm, Meter, Product, Recipe, Bay A, Bay B)
// with its subdirectories by hundreds (or one per instance), the codes its ".SD3" definition
// file describes, and their exchange with the device. A per-arm copy shares the code list of
// the directory it was copied from; the list lives as long as any directory using it.
class CDirectory : public CDirBase {
public:
    enum Type : int { kConfig = 0, kSystem = 1, kArm = 2, kMeter = 3, kProduct = 4, kRecipe = 5, kBayA = 6, kBayB = 7 };
    static constexpr int kMaxArms = 6;
    static constexpr int kMaxSubdirectories = 255;
    static constexpr int kMaxInstances = 255;
    // Largest ".SD3" file read.
    static constexpr size_t kMaxFileBytes = 16u << 20;

    // Builds the subdirectories and loads the definitions (building the file when missing).
    CDirectory(int type, std::string name, int subdirectoryCount, int instanceCount, bool startsAtFirst, bool perArm,
               ProgramDataContext* context, const DefinitionSource& source);
    // The per-arm copy: same codes, current instance one above the source's.
    CDirectory(const CDirectory& source);
    CDirectory& operator=(const CDirectory&) = delete;
    ~CDirectory();

    int Type() const { return id_; }
    int InstanceCount() const { return instanceCount_; }
    int CurrentInstance() const { return currentInstance_; }
    void SetCurrentInstance(int instance) { currentInstance_ = instance; }
    int SubdirectoryCount() const { return static_cast<int>(subdirs_.size()); }
    bool StartsAtFirst() const { return startsAtFirst_; }
    bool PerArm() const { return perArm_; }
    bool InstancesAsSubdirectories() const { return instancesAsSubdirs_; }
    int TotalParams() const { return paramCount_; }
    bool Loaded() const { return loaded_; }
    // Whether this directory and `other` use one code list (a directory and its copies).
    bool SharesCodesWith(const CDirectory& other) const { return codes_ == other.codes_; }

    ProgramDataContext* Context() const { return context_; }
    void SetContext(ProgramDataContext* context) { context_ = context; }
    CDirectory* NextDirectory() const { return next_; }
    void SetNextDirectory(CDirectory* next) { next_ = next; }

    CSubdirectory* Subdirectory(int index) const;
    // The first subdirectory a walk visits: 0 when the directory starts at the first, else 1
    // (or the next one with a name).
    CSubdirectory* FirstWalked() const;
    // Values each code keeps: instance count x 6 for per-arm directories other than Arm, 6
    // for Arm (one per arm), the instance count for the others.
    int ValueCount() const;

    // The subdirectory a number belongs to by its hundreds: from index number / 100 down to
    // the nearest one with a name; System's subdirectory 0 means 8 (its 0xx codes are loaded
    // last). Null when there is none.
    CSubdirectory* FindSubdirectory(int number) const;
    // The code with that number: in FindSubdirectory's subdirectory, else in any subdirectory
    // (an x00 code sits at the end of the hundred before it, a 0xx code of a directory that
    // starts at subdirectory 1 in subdirectory 1). `holder` gets its subdirectory.
    CParam* FindParam(int number, CSubdirectory** holder = nullptr) const;

    // "CF", "SY", "AR", "M<n>", "P<n>", "<nn>" (recipe), "BA", "BB"; -1 = current instance.
    std::string GetMnemonic(int instance = -1) const;
    // The name alone for a single-instance directory or one showing its instances as
    // subdirectories (not Arm); otherwise the name and the instance number.
    std::string GetInstanceName(int instance = -1) const;

    std::string FileName() const { return name_ + ".SD3"; }
    // Loads the ".SD3" file, building it first when it is missing. False when there is no
    // file and none could be built, or it holds no record; the directory then has no codes.
    bool LoadDefinitions(const DefinitionSource& source);
    // Places the records of a ".SD3" image; a record cut short ends the load. Returns the
    // number of records.
    size_t LoadDefinitionRecords(std::string bytes);
    // Asks the device for the directory's definitions and writes the ".SD3" file into the
    // source's build folder, through a temporary file renamed only when complete.
    bool BuildDefinitionFile(const DefinitionSource& source) const;
    // The requests of a build ("SV " 0x0415 for each digit and index; System's 0xx codes last,
    // Recipe only 0xx) with their definitions stored into `out`. Returns the number of
    // records, or -1 when the link failed or a reply was malformed.
    static int FetchDefinitions(MiniProtocol& protocol, int type, ArchiveWriter& out);

    // Every walked subdirectory in turn; false at the first that stops.
    bool ReadFromDevice(ProgressSink* progress);
    bool WriteToDevice(ProgressSink* progress);

    int CountShown(const ShownFilter& filter) const;
    int CountShown() const;

    // The directory header, then each walked subdirectory.
    void Print(PrintSheet& sheet, const AppOptions& options) const;
    void Print(PrintSheet& sheet) const;

    const AppOptions& Options() const;

private:
    using CodeList = std::vector<std::unique_ptr<CParam>>;

    void BuildSubdirectories(const std::vector<std::string>& names);

    std::shared_ptr<CodeList> codes_;
    std::vector<std::unique_ptr<CSubdirectory>> subdirs_;
    int instanceCount_ = 1;
    int currentInstance_ = 0;
    bool startsAtFirst_ = false;
    bool perArm_ = false;
    bool instancesAsSubdirs_ = false;
    ProgramDataContext* context_ = nullptr;
    bool loaded_ = false;
    CDirectory* next_ = nullptr;
};

}  // namespace qs
