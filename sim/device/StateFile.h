#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "device/ValueStore.h"

namespace sim {

// The plain-text file of starting values:
//   # comment            blank lines and lines starting with '#' are skipped
//   [1,3]                the following codes belong to devices 1 and 3; [*] (the start of the
//                        file) means every address served
//   SY 111 3 5           mnemonic (2 characters), code number (0-999), security level (1-255,
//                        or "-" for the default 1), then after one blank the value, which runs to
//                        the end of the line and may be empty or hold blanks
class StateFile {
public:
    static constexpr size_t kMaxFileSize = 16u << 20;
    static constexpr size_t kMaxLine = 4096;

    // Puts every code of the file into `store`. Returns "" or the first fault as
    // "<where>:<line>: <what>"; on a fault the store may hold the codes before it.
    static std::string Load(const std::string& path, const std::vector<int>& served, ValueStore& store);
    static std::string Parse(std::string_view text, const std::vector<int>& served, ValueStore& store,
                             const std::string& where = "state");
};

}  // namespace sim
