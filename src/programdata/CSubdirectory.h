#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "programdata/CDirBase.h"
#include "programdata/CodeExchange.h"
#include "programdata/ShownFilter.h"

namespace qs {

class CDirectory;
class DX3Protocol;
class ProgramDataContext;
class CParam;
class PrintSheet;
class ProgressSink;

// One subdirectory of a directory (the codes of one hundred, or one recipe): the head of its
// list of codes, and the next non-empty subdirectory of the same directory.
class CSubdirectory : public CDirBase {
public:
    CSubdirectory(CDirectory* owner, int index, std::string name);
    CSubdirectory(const CSubdirectory&) = delete;
    CSubdirectory& operator=(const CSubdirectory&) = delete;

    CDirectory* Owner() const { return owner_; }
    CParam* First() const { return first_; }
    CSubdirectory* NextSubdirectory() const { return next_; }
    void SetCodes(CParam* first, int count);
    void SetNextSubdirectory(CSubdirectory* next) { next_ = next; }

    // Calls f(CParam&) for each code of the list, in order.
    template <class F>
    void ForEachParam(F&& f) const;

    // The code with that number in this list; null when absent.
    CParam* FindParam(int number) const;

    // The directory's instance this subdirectory shows: its index when the directory shows
    // its instances as subdirectories, else the directory's current instance.
    int DirectoryInstance() const;
    // The value index of that instance on an arm: plus arm x instance count on arms above
    // the first, for per-arm directories other than Arm.
    int ValueIndex(int arm) const;

    // Reads every code ("PV") and, for value index 0, its security level ("XV") from the
    // device at the current arm's address. False when stopped (Abort, Cancel, a failed send
    // of a level request, no link); the values read so far stay.
    bool ReadFromDevice(ProgressSink* progress);
    // Writes the security level ("XC") and the value ("PC") of every code the rules allow.
    // False when stopped.
    bool WriteToDevice(ProgressSink* progress);

    int CountShown(const ShownFilter& filter) const;
    // With the print options of the owning document (none: every code).
    int CountShown() const;

    // The title and one line per shown code; nothing for a subdirectory that shows nothing.
    void Print(PrintSheet& sheet, const AppOptions& options) const;
    void Print(PrintSheet& sheet) const;

private:
    // What a device walk of this subdirectory works with; nullopt when there is no link or
    // the current arm is out of range. Points the protocol at the arm's device address.
    struct Walk {
        ProgramDataContext* ctx;
        DX3Protocol* protocol;
        int arm;
        int instance;
        std::string mnemonic;
        std::string instanceName;

        // One command of the walk with the user's answers to its failures; a failure of the
        // link itself (not a rejection) is told to the document.
        CodeExchange::Result Exchange(const std::string& command, const std::string& name) const;
    };
    std::optional<Walk> BeginWalk() const;

    int CurrentArm() const;
    std::string TransferText(const char* verb, const std::string& command, const std::string& reply) const;

    CDirectory* owner_;
    CParam* first_ = nullptr;
    CSubdirectory* next_ = nullptr;
    // The list's codes by number (the first of equal numbers first), for FindParam.
    std::vector<std::pair<int, CParam*>> byNumber_;
};

}  // namespace qs

#include "programdata/CParam.h"

namespace qs {

template <class F>
void CSubdirectory::ForEachParam(F&& f) const {
    int n = 0;
    for (CParam* p = first_; p != nullptr && n < paramCount_; p = p->Next(), ++n) f(*p);
}

}  // namespace qs
