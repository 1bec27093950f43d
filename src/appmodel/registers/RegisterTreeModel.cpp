#include "appmodel/registers/RegisterTreeModel.h"

#include <algorithm>
#include <array>

#include "appmodel/wizard/WizardFieldCheck.h"
#include "programdata/CParam.h"
#include "programdata/ParamDictionary.h"

namespace qs {

namespace {

using P = RegisterDirectoryRow::Placement;

constexpr std::array<RegisterDirectoryRow, RegisterTreeModel::kDirectories> kRows = {{
    {P::kAfterTop, false, "PIO #"},
    {P::kAfterTop, false, "Digital I/O #"},
    {P::kAfterTop, false, "Digital I/O #"},
    {P::kAfterTop, false, "Analog I/O #"},
    {P::kAfterTop, false, ""},
    {P::kHidden, false, "Lvl "},
    {P::kAfterTop, false, "#"},
    {P::kAfterTop, false, "#"},
    {P::kAfterTop, false, "#"},
    {P::kAfterTop, false, "Com "},
    {P::kAfterTop, false, "Injector #"},
    {P::kAfterTop, true, "Arm #"},
    {P::kAfterTop, true, "Meter #"},
    {P::kAfterTop, true, "Product #"},
    {P::kAfterTop, false, "Recipe #"},
    {P::kTop, false, "#"},
    {P::kTop, true, "Arm #"},
    {P::kTop, true, "Batch #"},
    {P::kTop, true, "Product #"},
    {P::kTop, true, "Batch #"},
    {P::kTop, false, "Injector #"},
    {P::kTop, false, "Digital I/O #"},
    {P::kTop, false, "Analog I/O #"},
    {P::kTop, false, "Recipe #"},
    {P::kTop, true, "Meter #"},
    {P::kTop, false, "#"},
    {P::kTop, true, "Arm #"},
    {P::kTop, true, "Meter #"},
    {P::kTop, true, "Product #"},
    {P::kTop, false, "Injector #"},
    {P::kHidden, false, "#"},
    {P::kHidden, false, "Digital I/O #"},
    {P::kAfterTop, false, "Register #"},
    {P::kHidden, true, "Meter #"},
    {P::kTop, false, "#"},
    {P::kHidden, false, "Analog I/O Pt#"},
    {P::kHidden, true, "Arm #"},
    {P::kAfterTop, true, "Bay "},
    {P::kTop, true, "Bay "},
}};

// Directories with no node at all.
constexpr int kSecurityDirectory = 5;

// The label of a directory without one of its own reads as the box's own label does.
std::string OffsetLabelOf(const CParam& entry) {
    const RegisterDirectoryRow* row = RegisterTreeModel::Directory(entry.dictDirectory);
    const std::string label = row ? row->offsetLabel : "";
    return label.empty() ? std::string("Offset") : label;
}

}  // namespace

const RegisterDirectoryRow* RegisterTreeModel::Directory(int n) {
    if (n < 0 || n >= kDirectories) return nullptr;
    return &kRows[static_cast<size_t>(n)];
}

RegisterTreeModel::RegisterTreeModel(const ParamDictionary& dictionary, bool numericOnly) {
    // One pass over the whole list, so registers of a file whose groups are out of order
    // still land under their directory.
    std::array<std::vector<const CParam*>, kDirectories> byDirectory;
    size_t left = dictionary.Size();
    for (const CParam* p = dictionary.First(); p != nullptr && left > 0; p = p->Next(), --left) {
        if (p->dictDirectory >= kDirectories) continue;
        if (numericOnly && p->dataType == 0) continue;
        if (p->dictDirectory == 0 && p->number < kFirstPulseInputCode) continue;
        byDirectory[p->dictDirectory].push_back(p);
    }

    std::vector<int> roots;
    size_t topCount = 0;
    for (int d = 0; d < kDirectories; ++d) {
        const RegisterDirectoryRow& row = kRows[static_cast<size_t>(d)];
        if (d == kSecurityDirectory || row.placement == P::kHidden) continue;
        if (row.placement == P::kTop) {
            roots.insert(roots.begin() + static_cast<std::ptrdiff_t>(topCount), d);
            ++topCount;
        } else {
            roots.push_back(d);
        }
    }

    for (int d : roots) {
        const int parent = static_cast<int>(nodes_.size());
        nodes_.push_back({ParamDictionary::DirectoryName(d), nullptr, d, -1});
        std::vector<Node> children;
        for (const CParam* p : byDirectory[static_cast<size_t>(d)]) children.push_back({p->Name(), p, d, parent});
        std::stable_sort(children.begin(), children.end(),
                         [](const Node& a, const Node& b) { return a.text < b.text; });
        nodes_.insert(nodes_.end(), children.begin(), children.end());
    }
}

int RegisterTreeModel::NodeOf(const CParam* entry) const {
    if (entry == nullptr) return -1;
    for (size_t i = 0; i < nodes_.size(); ++i)
        if (nodes_[i].entry == entry) return static_cast<int>(i);
    return -1;
}

const CParam* RegisterTreeModel::EntryAt(int node) const {
    if (node < 0 || static_cast<size_t>(node) >= nodes_.size()) return nullptr;
    return nodes_[static_cast<size_t>(node)].entry;
}

RegisterTreeModel::OffsetBox RegisterTreeModel::OffsetFor(const CParam* entry) {
    if (entry == nullptr || entry->instances == 0) return {kNoOffsetLabel, false, std::string("0")};
    if (entry->instances == 1) return {OffsetLabelOf(*entry) + ":", false, std::string("1")};
    return {OffsetLabelOf(*entry) + ": (1 - " + std::to_string(entry->instances) + ")", true, std::nullopt};
}

bool RegisterTreeModel::ArmBoxEnabled(const CParam* entry, int armCount) {
    if (armCount <= 0 || entry == nullptr) return false;
    const RegisterDirectoryRow* row = Directory(entry->dictDirectory);
    return row != nullptr && row->armBox;
}

std::optional<int> RegisterTreeModel::CheckOffset(const CParam* entry, std::string_view text, std::string* refusal) {
    if (entry == nullptr || entry->instances == 0) return 0;
    return WizardFieldCheck::Integer(text, 0, entry->instances, refusal);
}

std::optional<int> RegisterTreeModel::CheckArm(int armCount, std::string_view text, std::string* refusal) {
    if (armCount <= 0) return 1;
    return WizardFieldCheck::Integer(text, 1, armCount, refusal);
}

int RegisterTreeModel::Find(int request, const std::function<bool(const std::string&)>& match) {
    if (request == 1) return -1;
    size_t start = 0;
    if (request == 3) {
        // Nodes() is the depth-first order, so the next node is the one after the match.
        start = lastMatch_ < 0 ? 0 : static_cast<size_t>(lastMatch_) + 1;
    } else if (request != 2) {
        start = lastMatch_ < 0 ? 0 : static_cast<size_t>(lastMatch_);
    }
    for (size_t i = start; i < nodes_.size(); ++i) {
        if (match(nodes_[i].text)) {
            lastMatch_ = static_cast<int>(i);
            return lastMatch_;
        }
    }
    return -1;
}

std::optional<uint32_t> BuildRegisterId(const ParamDictionary& dictionary, const CParam& entry, int arm, int offset) {
    if (arm < 1 || arm > 16 || offset < 0 || offset > entry.instances) return std::nullopt;
    const CParam* p = dictionary.Head(entry.dictDirectory, entry.dataType);
    unsigned position = 0;
    while (p != nullptr && p != &entry) {
        p = p->Next();
        if (++position > 255 || p == nullptr || p->dictDirectory != entry.dictDirectory ||
            p->dataType != entry.dataType)
            return std::nullopt;
    }
    if (p == nullptr) return std::nullopt;
    const unsigned instance = entry.instances == 0 ? 0u : static_cast<unsigned>(offset > 0 ? offset : 1);
    return MakeRegisterId(static_cast<unsigned>(arm - 1), entry.dataType, entry.dictDirectory, position, instance);
}

}  // namespace qs
