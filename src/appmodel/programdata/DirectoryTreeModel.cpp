#include "appmodel/programdata/DirectoryTreeModel.h"

#include <algorithm>
#include <cstdint>

#include "platform/ArchiveReader.h"
#include "platform/ArchiveWriter.h"
#include "platform/UiServices.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "programdata/CSubdirectory.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

namespace {

constexpr int kMaxArms = CDirectory::kMaxArms;

// Meter and Product: one directory per instance, values per arm.
bool PerArmInstance(const CDirectory& d) { return d.PerArm() && d.Type() != CDirectory::kArm; }

int ArmOf(const CDirectory* rootArm) { return rootArm ? rootArm->CurrentInstance() : 0; }

// The subdirectories a walk of a directory visits, in chain order.
std::vector<CSubdirectory*> Walked(const CDirectory& d) {
    std::vector<CSubdirectory*> out;
    for (CSubdirectory* s = d.FirstWalked(); s != nullptr && out.size() <= CDirectory::kMaxSubdirectories;
         s = s->NextSubdirectory())
        out.push_back(s);
    return out;
}

void WriteRecord(ArchiveWriter& out, int type, int recorded, const CParam& code, const std::string& value) {
    out.WriteI32(type);
    out.WriteI32(recorded);
    out.WriteI32(code.number);
    // The field keeps 39 characters and its NUL; a longer value is cut there.
    out.WriteFixedText(std::string_view(value).substr(0, CParam::kValueTextSize - 1), CParam::kValueTextSize);
    out.WriteI16(static_cast<int8_t>(code.Level()));
}

void CollectSubdirectory(ArchiveWriter& out, const CSubdirectory& s, int type, int recorded, int index) {
    s.ForEachParam([&](const CParam& p) {
        const std::string& value = p.Value(index);
        if (!value.empty()) WriteRecord(out, type, recorded, p, value);
    });
}

}  // namespace

// ---------------------------------------------------------------- items

bool TreeNode::IsDirectory() const { return object && object->Kind() == CDirBase::kDirectoryNode; }

CDirectory* TreeNode::Directory() const { return IsDirectory() ? static_cast<CDirectory*>(object) : nullptr; }

CSubdirectory* TreeNode::Subdirectory() const {
    return object && object->Kind() == CDirBase::kSubdirectoryNode ? static_cast<CSubdirectory*>(object) : nullptr;
}

TreeItemKey TreeItemKey::Of(const TreeTarget& t) {
    TreeItemKey k;
    if (!t.directory) return k;
    k.valid = true;
    k.directory = t.subdirectory == nullptr;
    k.type = t.directory->Type();
    k.subdirectoryIndex = t.subdirectory ? t.subdirectory->Id() : -1;
    k.instancesAsSubdirectories = t.directory->InstancesAsSubdirectories();
    return k;
}

bool DirectoryTreeModel::Compatible(const TreeItemKey& source, const TreeItemKey& target) {
    if (!source.valid || !target.valid) return false;
    if (source.directory != target.directory || source.type != target.type) return false;
    if (source.directory) return true;
    return source.subdirectoryIndex == target.subdirectoryIndex || target.instancesAsSubdirectories;
}

// ---------------------------------------------------------------- counts

TreeCounts DirectoryTreeModel::ReadCounts(CVexa3Doc& document, std::vector<std::string>& warnings) {
    document.ApplyConfiguration(&warnings);
    const ArmConfiguration& c = document.Configuration();
    TreeCounts t;
    t.activeArms = std::clamp(c.activeArms, 1, kMaxArms);
    t.flaggedArms = std::clamp(c.flaggedArms, 0, kMaxArms - t.activeArms);
    t.bays = std::clamp(c.armMode, 0, 2);
    for (size_t i = 0; i < t.meters.size(); ++i) {
        t.meters[i] = std::clamp(c.metersPerArm[i], 1, 6);
        t.products[i] = std::clamp(c.productsPerArm[i], 0, 6);
    }
    return t;
}

bool DirectoryTreeModel::Refresh(CVexa3Doc& document) {
    std::vector<std::string> warnings;
    const TreeCounts now = ReadCounts(document, warnings);
    if (filled_ && now == counts_) return false;
    filled_ = true;
    counts_ = now;
    for (const std::string& w : warnings) ui_.Message(w);
    return true;
}

// ---------------------------------------------------------------- layout

TreeLayout DirectoryTreeModel::Build(const CVexa3Doc& document, const TreeCounts& counts) {
    TreeLayout layout;
    auto& nodes = layout.nodes;
    std::array<int, kMaxArms> armItem;
    armItem.fill(-1);
    std::array<std::array<int, 6>, kMaxArms> meterItem;
    for (auto& row : meterItem) row.fill(-1);
    int armCounter = 0;

    auto add = [&nodes](CDirBase* object, int parent, std::string text, int image) {
        nodes.push_back(TreeNode{object, parent, std::move(text), image});
        return static_cast<int>(nodes.size()) - 1;
    };
    // The subdirectory items under a directory item; under an Arm, the arms past those in use
    // (flagged ones) show only their first hundred, marked as such.
    auto addChildren = [&](CDirectory& d, int item) {
        const bool arm = d.Type() == CDirectory::kArm;
        for (CSubdirectory* s : Walked(d)) {
            if (s->ParamCount() == 0) continue;
            int image = d.Type() + kSubdirectoryImage;
            if (arm && s->Id() == 1) ++armCounter;
            if (arm && armCounter > counts.activeArms) {
                if (s->Id() != 1) continue;
                image = d.Type() + kInactiveArmImage;
            }
            add(s, item, s->Name(), image);
        }
    };

    for (CDirectory* d = document.FirstDirectory(); d != nullptr; d = d->NextDirectory()) {
        if (d->TotalParams() == 0) continue;
        const int k = d->CurrentInstance();
        if (PerArmInstance(*d)) {
            const bool meter = d->Type() == CDirectory::kMeter;
            for (int i = 0; i < counts.activeArms; ++i) {
                const int m = counts.meters[static_cast<size_t>(i)];
                const int p = counts.products[static_cast<size_t>(i)];
                int parent = -1;
                if (meter) {
                    if (k >= m || k >= 6) continue;
                    parent = armItem[static_cast<size_t>(i)];
                } else {
                    if (k >= p || (m > 1 && k >= 6)) continue;
                    const int j = k >= m ? m - 1 : (m > 1 ? k : 0);
                    parent = meterItem[static_cast<size_t>(i)][static_cast<size_t>(j)];
                }
                if (parent < 0) continue;  // no item to hang it on
                const bool single = meter ? m == 1 : p == 1;
                const int item = add(d, parent, single ? d->Name() : d->GetInstanceName(), d->Type());
                if (meter) meterItem[static_cast<size_t>(i)][static_cast<size_t>(k)] = item;
                addChildren(*d, item);
            }
            continue;
        }
        const int type = d->Type();
        if (type == CDirectory::kArm && k >= counts.activeArms + counts.flaggedArms) continue;
        if (type == CDirectory::kBayA && counts.bays == 0) continue;
        if (type == CDirectory::kBayB && counts.bays <= 1) continue;
        std::string text = d->GetInstanceName();
        int image = type;
        if (type == CDirectory::kArm) {
            if (counts.activeArms == 1) text = d->Name();
            if (k >= counts.activeArms) image = type + kInactiveArmImage;
        }
        const int item = add(d, -1, std::move(text), image);
        if (type == CDirectory::kArm && k >= 0 && k < kMaxArms) armItem[static_cast<size_t>(k)] = item;
        addChildren(*d, item);
    }

    CDirectory* first = document.FirstDirectory();
    layout.enabled = document.DeviceKind() != kOperatorPanelKind;
    if (!nodes.empty() && layout.enabled) {
        // The first root item opened and its first child selected.
        layout.selectNode = nodes.size() > 1 && nodes[1].parent == 0 ? 1 : 0;
        layout.selection = SelectionOf(TargetOf(nodes, layout.selectNode));
    } else if (!nodes.empty()) {
        layout.selection.directory = nodes[0].Directory();
    }
    if (first) layout.selection.subdirectory = first->FirstWalked();
    layout.selection.instance = 0;
    layout.selection.arm = 0;
    return layout;
}

TreeTarget DirectoryTreeModel::TargetOf(const std::vector<TreeNode>& nodes, int node) {
    TreeTarget t;
    if (node < 0 || node >= static_cast<int>(nodes.size())) return t;
    const TreeNode& n = nodes[static_cast<size_t>(node)];
    if (n.IsDirectory()) {
        t.directory = n.Directory();
    } else {
        t.subdirectory = n.Subdirectory();
        t.directory = t.subdirectory->Owner();
    }
    int root = node;
    for (int guard = 0; nodes[static_cast<size_t>(root)].parent >= 0 && guard < static_cast<int>(nodes.size());
         ++guard)
        root = nodes[static_cast<size_t>(root)].parent;
    CDirectory* r = nodes[static_cast<size_t>(root)].Directory();
    if (r && r->Type() == CDirectory::kArm) t.rootArm = r;
    return t;
}

FrameSelection DirectoryTreeModel::SelectionOf(const TreeTarget& t) {
    FrameSelection s;
    if (!t.directory) return s;
    s.directory = t.directory;
    s.subdirectory = t.subdirectory;
    s.arm = ArmOf(t.rootArm);
    s.instance = (t.directory->InstancesAsSubdirectories() && t.subdirectory) ? t.subdirectory->Id()
                                                                                : t.directory->CurrentInstance();
    return s;
}

// ---------------------------------------------------------------- records

std::string DirectoryTreeModel::CollectRecords(const CVexa3Doc& document, const TreeTarget& t, bool forCopy) {
    CDirectory* d = t.directory;
    if (!d) return {};
    const bool asSubs = d->InstancesAsSubdirectories();
    if (forCopy && asSubs && !t.subdirectory) return {};
    int index = d->CurrentInstance();
    if (PerArmInstance(*d)) index += ArmOf(t.rootArm) * d->InstanceCount();
    int recorded = 0;
    if (PerArmInstance(*d)) recorded = d->CurrentInstance();

    ArchiveWriter out;
    std::vector<CSubdirectory*> subs = t.subdirectory ? std::vector<CSubdirectory*>{t.subdirectory} : Walked(*d);
    for (CSubdirectory* s : subs) {
        if (asSubs) index = recorded = s->Id();
        CollectSubdirectory(out, *s, d->Type(), recorded, index);
    }

    if (d->Type() == CDirectory::kArm && !t.subdirectory) {
        // The arm's meters and products come with it.
        const int arm = d->CurrentInstance();
        CDirectory* m = document.FindDirectory(CDirectory::kMeter);
        for (int type : {CDirectory::kMeter, CDirectory::kProduct}) {
            while (m && m->Type() != type) m = m->NextDirectory();
            for (; m && m->Type() == type; m = m->NextDirectory()) {
                const int at = m->CurrentInstance() + m->InstanceCount() * arm;
                for (CSubdirectory* s : Walked(*m)) CollectSubdirectory(out, *s, type, m->CurrentInstance(), at);
            }
        }
    }
    return out.Bytes();
}

DirectoryTreeModel::PasteOutcome DirectoryTreeModel::Paste(CVexa3Doc& document, const TreeTarget& t,
                                                           std::string_view data, bool drop, int* stored) const {
    if (stored) *stored = 0;
    CDirectory* d = t.directory;
    if (!d || data.size() < static_cast<size_t>(kRecordSize)) return PasteOutcome::Nothing;
    ArchiveReader in{std::string(data)};
    std::optional<ValueRecord> r = CParam::ReadValueRecord(in);
    if (!r) return PasteOutcome::Nothing;
    if (r->directoryType != d->Type()) {
        ui_.Message(drop ? kDropInvalid : kPasteInvalid);
        return PasteOutcome::Refused;
    }
    const bool asSubs = d->InstancesAsSubdirectories();
    const bool armTarget = d->Type() == CDirectory::kArm;
    const int arm = ArmOf(t.rootArm);
    int64_t base = (asSubs && t.subdirectory) ? t.subdirectory->Id() : d->CurrentInstance();
    if (PerArmInstance(*d)) base += static_cast<int64_t>(d->InstanceCount()) * arm;

    int count = 0;
    for (; r; r = CParam::ReadValueRecord(in)) {
        const int type = r->directoryType;
        // Only records of the target's kind, and on an Arm those of its meters and products.
        const bool armCompanion = armTarget && (type == CDirectory::kMeter || type == CDirectory::kProduct);
        if (type != d->Type() && !armCompanion) continue;
        CDirectory* holder = document.FindDirectory(type);
        if (!holder) continue;
        int64_t e = base;
        if (asSubs && !t.subdirectory) e = r->instance;
        if (armCompanion) e = static_cast<int64_t>(r->instance) + static_cast<int64_t>(holder->InstanceCount()) * arm;
        if (r->instance < 0 || e < 0 || e >= holder->ValueCount()) continue;
        if (armCompanion && r->instance >= holder->InstanceCount()) continue;
        CParam* code = holder->FindParam(r->number);
        if (!code) continue;
        if (!code->SetValue(r->value, static_cast<int>(e))) continue;
        if (e == 0) code->SetLevel(r->level);
        ++count;
    }
    if (stored) *stored = count;
    return PasteOutcome::Pasted;
}

}  // namespace qs
