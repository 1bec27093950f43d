#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// What a code holds: its value text and its security level.
struct CodeValue {
    std::string value;
    int level = 1;
};

// Which program codes a device has, with their starting values. A dictionary plugs in here;
// without one only the codes given in the state file exist.
class CodeCatalog {
public:
    virtual ~CodeCatalog() = default;
    // The starting value of a code the device has; nullopt for a code it does not have.
    virtual std::optional<CodeValue> Default(std::string_view mnemonic, int number) const = 0;
};

}  // namespace sim
