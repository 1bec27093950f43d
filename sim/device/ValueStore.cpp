#include "device/ValueStore.h"

namespace sim {

void ValueStore::Put(int address, std::string_view mnemonic, int number, CodeValue value) {
    codes_[Key(address, std::string(mnemonic), number)] = std::move(value);
}

CodeValue* ValueStore::Find(int address, std::string_view mnemonic, int number) {
    Key key(address, std::string(mnemonic), number);
    auto it = codes_.find(key);
    if (it != codes_.end()) return &it->second;
    if (!catalog_) return nullptr;
    std::optional<CodeValue> seed = catalog_->Default(mnemonic, number);
    if (!seed) return nullptr;
    return &codes_.emplace(std::move(key), std::move(*seed)).first->second;
}

}  // namespace sim
