#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/Dictionary.h"

namespace sim {

// The "key: value" lines of one block of a dictionary file, as written.
struct DefinitionBlock {
    struct Field {
        std::string value;
        int line = 0;
    };
    int line = 0;  // where the block opens
    std::map<std::string, Field, std::less<>> keys;
    std::vector<Field> options;  // the one key that repeats, in order

    const Field* Get(std::string_view key) const {
        auto it = keys.find(key);
        return it == keys.end() ? nullptr : &it->second;
    }
};

// A fault of a block; `line` 0 means the block's first line (a key that is missing).
struct DefinitionFault {
    int line = 0;
    std::string what;
};

// Turns one block into a definition, holding it to every rule of the dictionary files: the
// keys each block needs, the range and form of each value, the printf format of each data
// type, option lists, defaults within range, and code numbers the device walk reaches and the
// program lists and looks up in the same subdirectory.
class DefinitionReader {
public:
    static constexpr int kRegister = -1;  // a block of the registers file

    // `type` is the directory of a code block (0-7) or kRegister.
    static std::optional<DefinitionFault> Read(const DefinitionBlock& block, int type, Definition& out);

    // The subdirectory (0-10) the program looks a code up in, and the one it lists the code
    // under when it loads the directory's codes in walk order.
    static int LookedUpIn(int type, int number);
    static int ListedIn(int type, int number);
};

}  // namespace sim
