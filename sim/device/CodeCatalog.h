#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// What a code holds: its value text and its security level (0 for a code without one, which
// is how the device reports "none").
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
    // The rejection ("NO" code) the device gives to a write of `value` into a code it has, or
    // nullopt when it takes the value.
    virtual std::optional<int> RefuseWrite(std::string_view /*mnemonic*/, int /*number*/,
                                           std::string_view /*value*/) const {
        return std::nullopt;
    }
};

}  // namespace sim
