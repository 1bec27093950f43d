#pragma once
// What the simulated controller holds, read back command by command with a protocol of the
// link layer alone, and what a document read from it set against that.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "link/TerminalProtocol.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "programdata/CVexa3Doc.h"

namespace qs::test {

// One code of the device at one address, e.g. (2, "M3", 103).
using Key = std::tuple<int, std::string, int>;

std::string KeyText(const Key& k);
std::string Number3(int n);

// Where a code of the device lives in a document: directory type and value index, from the
// address (arm = address - 1) and the mnemonic.
struct Place {
    int type;
    int instance;
};
Place PlaceOf(int address, const std::string& mnemonic);

// Every code the device has for a document's configuration: the device-wide directories at
// address 1, the per-arm ones at each arm's address (1-`arms`).
std::vector<Key> DeviceCodes(CVexa3Doc& doc, int arms = CDirectory::kMaxArms);
// The codes whose level a read or a dump exchanges: those of each directory's first instance.
std::set<Key> FirstInstanceCodes(const std::vector<Key>& codes);
CParam* CodeOf(CVexa3Doc& doc, const Key& k);

// A value and a level as the device holds them (the level as its reply gives it).
struct Held {
    std::string value;
    std::string level;
};

// Reads the store with bare "PV"/"XV" commands, levels only where `levels` says.
std::map<Key, Held> ReadStore(TerminalProtocol& link, const std::vector<Key>& codes, const std::set<Key>& levels);

// What a read left set against the store: every value is the device's, or empty; every level
// read is the device's, or none. `emptied` and `levelsMissed` count the others, `wrong` names
// every value or level that is neither.
struct ReadCheck {
    std::vector<std::string> wrong;
    int emptied = 0;
    int levelsMissed = 0;
};
ReadCheck CheckRead(const std::map<Key, Held>& store, const std::set<Key>& levels,
                    const std::function<const CParam*(const Key&)>& codeOf,
                    const std::function<int(const Key&)>& valueIndexOf);

}  // namespace qs::test
