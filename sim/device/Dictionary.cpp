#include "device/Dictionary.h"

namespace sim {
namespace {

std::string Where(const Definition& d) { return d.file + ":" + std::to_string(d.line); }

std::string RegisterText(const std::tuple<int, int, int>& r) {
    return std::to_string(std::get<0>(r)) + " " + std::to_string(std::get<1>(r)) + " " + std::to_string(std::get<2>(r));
}

}  // namespace

bool Definition::SameRecord(const Definition& o) const {
    return flags == o.flags && dataType == o.dataType && directory == o.directory && position == o.position &&
           instances == o.instances && min == o.min && max == o.max && format == o.format && width == o.width &&
           precision == o.precision && name == o.name && help == o.help && options == o.options;
}

const std::array<DirectoryKind, Dictionary::kDirectoryCount>& Dictionary::Kinds() {
    static const std::array<DirectoryKind, kDirectoryCount> kinds{{
        {0, "Config", "CF", 1, true},
        {1, "System", "SY", 1, false},
        {2, "Arm", "AR", 1, false},
        {3, "Meter", "M", 6, false},
        {4, "Product", "P", 6, false},
        {5, "Recipe", "", 50, true},
        {6, "Bay A", "BA", 1, false},
        {7, "Bay B", "BB", 1, false},
    }};
    return kinds;
}

std::optional<std::pair<int, int>> Dictionary::FromMnemonic(std::string_view m) {
    if (m.size() != 2) return std::nullopt;
    const bool digit1 = m[1] >= '0' && m[1] <= '9';
    if (m[0] >= '0' && m[0] <= '9' && digit1) {
        const int recipe = (m[0] - '0') * 10 + (m[1] - '0');
        if (recipe < 1 || recipe > Kinds()[kRecipe].instances) return std::nullopt;
        return std::pair(kRecipe, recipe - 1);
    }
    for (const DirectoryKind& kind : Kinds()) {
        const std::string_view mnemonic(kind.mnemonic);
        if (mnemonic.size() == 2 && m == mnemonic) return std::pair(kind.type, 0);
        if (mnemonic.size() == 1 && m[0] == mnemonic[0] && digit1) {
            const int instance = m[1] - '1';
            if (instance < 0 || instance >= kind.instances) return std::nullopt;
            return std::pair(kind.type, instance);
        }
    }
    return std::nullopt;
}

const Definition* Dictionary::Code(int type, int number) const {
    if (type < 0 || type >= kDirectoryCount) return nullptr;
    const auto& codes = codes_[static_cast<size_t>(type)];
    auto it = codes.find(number);
    return it == codes.end() ? nullptr : &it->second;
}

const Definition* Dictionary::Register(int directory, int dataType, int position) const {
    auto it = registers_.find({directory, dataType, position});
    return it == registers_.end() ? nullptr : it->second;
}

std::vector<const Definition*> Dictionary::Registers() const {
    std::vector<const Definition*> out;
    out.reserve(registers_.size());
    for (const auto& [key, definition] : registers_) out.push_back(definition);
    return out;
}

std::string Dictionary::AddCode(int type, Definition definition) {
    auto& codes = codes_.at(static_cast<size_t>(type));
    auto it = codes.find(definition.number);
    if (it != codes.end()) {
        return Where(definition) + ": code " + std::to_string(definition.number) + " is already defined at line " +
               std::to_string(it->second.line);
    }
    definition.directoryType = type;
    codes.emplace(definition.number, std::move(definition));
    return "";
}

std::string Dictionary::Index() {
    registers_.clear();
    auto add = [this](const Definition& d) -> std::string {
        auto [it, fresh] = registers_.emplace(d.Register(), &d);
        if (fresh) return "";
        const Definition& first = *it->second;
        const std::string what = Where(d) + ": register " + RegisterText(d.Register()) + " is already defined at " +
                                 Where(first);
        // Only codes of different directories may share a register, and only told alike (the
        // bays: instance 1 is bay A, 2 bay B).
        if (first.number < 0 || d.number < 0) return what;
        if (first.directoryType == d.directoryType) return what + " by a code of the same directory";
        if (!first.SameRecord(d)) return what + " with different fields";
        return "";
    };
    for (const auto& codes : codes_) {
        for (const auto& [number, definition] : codes) {
            if (std::string fault = add(definition); !fault.empty()) return fault;
        }
    }
    for (const Definition& definition : others_) {
        if (std::string fault = add(definition); !fault.empty()) return fault;
    }
    // The device walk of a (directory, data type) group ends at the first missing position.
    int group = -1;
    int next = 0;
    for (const auto& [key, definition] : registers_) {
        const auto [directory, dataType, position] = key;
        const int g = directory * kDataTypes + dataType;
        if (g != group) {
            group = g;
            next = 0;
        }
        if (position != next) {
            return Where(*definition) + ": register " + RegisterText(key) + " leaves a gap: position " +
                   std::to_string(next) + " of dictionary directory " + std::to_string(directory) + " data type " +
                   std::to_string(dataType) + " is not defined";
        }
        ++next;
    }
    return "";
}

}  // namespace sim
