#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

class CParam;
class ParamDictionary;

// How the register picker shows one dictionary directory (its name is the dictionary's).
struct RegisterDirectoryRow {
    enum Placement : int { kAfterTop = 0, kTop = 1, kHidden = 2 };
    Placement placement;
    bool armBox;              // the arm box is usable for its registers
    const char* offsetLabel;  // the offset box's label; empty when the directory has none
};

// The register picker without its widgets: the tree of dictionary directories and their
// registers, the offset and arm boxes that follow the selection, the checks of what was typed,
// and the text search over the tree.
class RegisterTreeModel {
public:
    static constexpr int kDirectories = 39;
    // Program codes of the pulse input directory below this one are not offered.
    static constexpr int kFirstPulseInputCode = 602;
    static constexpr const char* kNoOffsetLabel = "No Offset Used";
    static constexpr const char* kNotFoundMessage = "Text Not Found";

    // Row n of the directory table; null outside 0-38.
    static const RegisterDirectoryRow* Directory(int n);

    // One tree node. Nodes() lists them depth first: each directory node followed by its
    // registers (sorted by name), directories in tree order.
    struct Node {
        std::string text;
        const CParam* entry = nullptr;  // null for a directory node
        int directory = 0;
        int parent = -1;  // index of the directory node; -1 for a directory node
    };

    // Fills the tree once from the dictionary; with numericOnly, text registers are left out.
    RegisterTreeModel(const ParamDictionary& dictionary, bool numericOnly);

    const std::vector<Node>& Nodes() const { return nodes_; }
    // The node of an entry, or -1.
    int NodeOf(const CParam* entry) const;
    const CParam* EntryAt(int node) const;

    // The offset box as the selection leaves it: its label, whether it may be typed into, and
    // the text it is set to (nullopt: what the user typed stays).
    struct OffsetBox {
        std::string label;
        bool enabled = false;
        std::optional<std::string> text;
    };
    static OffsetBox OffsetFor(const CParam* entry);
    // The arm box is usable only for a register of a per-arm directory, when it is shown.
    static bool ArmBoxEnabled(const CParam* entry, int armCount);

    // The typed offset for the selected entry: 0 up to its instance count (0 only for a
    // register without instances). nullopt with the refusal the user is shown.
    static std::optional<int> CheckOffset(const CParam* entry, std::string_view text, std::string* refusal);
    // The typed arm: 1 to armCount.
    static std::optional<int> CheckArm(int armCount, std::string_view text, std::string* refusal);

    // Answers one request of the find dialog (2 from the top, 3 after the last match, 4 and
    // others from the last match; 1 does nothing) with `match` over the node texts. Returns the
    // node found, remembered for the next request, or -1 (nothing found, or request 1).
    int Find(int request, const std::function<bool(const std::string&)>& match);
    int LastMatch() const { return lastMatch_; }

private:
    std::vector<Node> nodes_;
    int lastMatch_ = -1;
};

// The register id of a dictionary entry picked with an instance (offset, 0 for none chosen) and
// an arm (1-16). A register with instances gets the instance chosen, 1 when none was; one
// without gets 0. The position is the entry's place in its dictionary group, so the id names
// the entry again. nullopt when the entry is not in the dictionary or lies past position 255.
std::optional<uint32_t> BuildRegisterId(const ParamDictionary& dictionary, const CParam& entry, int arm, int offset);

}  // namespace qs
