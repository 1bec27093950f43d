#pragma once
#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "device/CodeCatalog.h"

namespace sim {

// Values and security levels kept per device address, directory mnemonic and code number.
// A code exists when it has been put here (from the state file) or when the catalog knows it;
// a catalog's code is copied in on first use so that later writes stick.
class ValueStore {
public:
    static constexpr int kDefaultLevel = 1;
    static constexpr size_t kMaxValue = 1024;

    explicit ValueStore(const CodeCatalog* catalog = nullptr) : catalog_(catalog) {}

    void SetCatalog(const CodeCatalog* catalog) { catalog_ = catalog; }
    void Put(int address, std::string_view mnemonic, int number, CodeValue value);
    // Null for a code the device does not have.
    CodeValue* Find(int address, std::string_view mnemonic, int number);
    // The catalog's rejection of a write (a code it does not know takes any value).
    std::optional<int> RefuseWrite(std::string_view mnemonic, int number, std::string_view value) const {
        return catalog_ ? catalog_->RefuseWrite(mnemonic, number, value) : std::nullopt;
    }
    size_t Size() const { return codes_.size(); }

private:
    using Key = std::tuple<int, std::string, int>;
    const CodeCatalog* catalog_;
    std::map<Key, CodeValue> codes_;
};

}  // namespace sim
