#include "emulators/panelsim/core/AddressListEditor.h"

#include <cstdio>

namespace qs::panelsim {

AddressListEditor::AddressListEditor(std::string_view addressList) {
    if (addressList.empty()) return;
    size_t from = 0;
    while (entries_.size() < kMaxEntries) {
        const size_t comma = addressList.find(',', from);
        const size_t end = comma == std::string_view::npos ? addressList.size() : comma;
        entries_.emplace_back(addressList.substr(from, std::min(end - from, kMaxEntryLength)));
        if (comma == std::string_view::npos) break;
        from = comma + 1;
    }
}

bool AddressListEditor::Add(int address) {
    if (address <= 0 || address > kMaxAddress || entries_.size() >= kMaxEntries) return false;
    entries_.push_back(Format(address));
    return true;
}

bool AddressListEditor::Remove(int selection) {
    if (selection <= 0 || static_cast<size_t>(selection) >= entries_.size()) return false;
    entries_.erase(entries_.begin() + selection);
    return true;
}

std::string AddressListEditor::Join() const {
    std::string text;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (i > 0) text += ',';
        text += entries_[i];
    }
    return text;
}

std::string AddressListEditor::Format(int address) {
    char text[16];
    std::snprintf(text, sizeof text, "% 2.2d", address);
    return text;
}

}  // namespace qs::panelsim
