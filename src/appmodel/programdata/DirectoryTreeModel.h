#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "appmodel/programdata/FrameSelection.h"

namespace qs {

class CDirBase;
class CDirectory;
class CSubdirectory;
class CVexa3Doc;
struct UiServices;

// The counts of a document the directory tree is built from, bounded to what the tree can
// show: 1-6 arms in use plus the flagged ones (together at most 6), 0-2 bays, 1-6 meters and
// 0-6 products per arm.
struct TreeCounts {
    int activeArms = 0;
    int flaggedArms = 0;
    int bays = 0;
    std::array<int, 6> meters{};
    std::array<int, 6> products{};

    friend bool operator==(const TreeCounts&, const TreeCounts&) = default;
};

// One item of the directory tree: a directory or a subdirectory of the document, its parent
// item (an index into the same list, -1 for a root item), its text and its image.
struct TreeNode {
    CDirBase* object = nullptr;
    int parent = -1;
    std::string text;
    int image = 0;

    bool IsDirectory() const;
    CDirectory* Directory() const;        // null for a subdirectory item
    CSubdirectory* Subdirectory() const;  // null for a directory item
};

struct TreeLayout {
    std::vector<TreeNode> nodes;  // parents always come before their children
    // The item to select after a rebuild (-1: none), and whether the tree takes input at
    // all (an operator panel's document shows its tree disabled).
    int selectNode = -1;
    bool enabled = true;
    // What the frame shows after a rebuild.
    FrameSelection selection;
};

// A tree item resolved into what the commands work on: its directory, its subdirectory (null
// for a directory item) and the Arm directory at its root (null when the root is not an Arm).
struct TreeTarget {
    CDirectory* directory = nullptr;
    CSubdirectory* subdirectory = nullptr;
    CDirectory* rootArm = nullptr;
};

// What decides whether a copied item fits where it is pasted; held by value, so the item
// copied last may belong to a document that has closed since.
struct TreeItemKey {
    bool valid = false;
    bool directory = false;
    int type = -1;
    int subdirectoryIndex = -1;
    bool instancesAsSubdirectories = false;

    static TreeItemKey Of(const TreeTarget& target);
};

// The directory tree of a program-data document without the window: which items it shows
// with which texts and images, the frame selection an item stands for, and the program-code
// records its copy, paste and drag-and-drop carry (the 54-byte value record of the document
// file, in the clipboard format "QuillsetIIIXData").
class DirectoryTreeModel {
public:
    static constexpr const char* kClipboardFormat = "QuillsetIIIXData";
    static constexpr const char* kPasteInvalid =
        "The paste operation cannot be completed, clipboard data invalid for this destination.";
    static constexpr const char* kDropInvalid =
        "The drag operation cannot be completed, source data invalid for drop site.";
    static constexpr int kRecordSize = 54;
    static constexpr int kSubdirectoryImage = 8;
    static constexpr int kInactiveArmImage = 14;
    // Hover over a collapsed item during a drag this long to expand it.
    static constexpr int kHoverTimerId = 1000;
    static constexpr int kHoverMs = 1500;
    static constexpr int kOperatorPanelKind = 8;

    // What it says goes through `ui`.
    explicit DirectoryTreeModel(const UiServices& ui) : ui_(ui) {}

    // Lets the document derive its counts again and returns them bounded. The warnings the
    // derivation gives (too many arms, an arm in use without address) are collected into
    // `warnings` instead of being shown.
    static TreeCounts ReadCounts(CVexa3Doc& document, std::vector<std::string>& warnings);

    // Reads the counts; true when they differ from those of the last call (the tree must be
    // built again). The warnings are shown then, and only then: an edit that changes no count
    // says nothing.
    bool Refresh(CVexa3Doc& document);
    const TreeCounts& Counts() const { return counts_; }
    void Forget() { counts_ = TreeCounts{}; }

    static TreeLayout Build(const CVexa3Doc& document, const TreeCounts& counts);

    // The frame selection of an item.
    static FrameSelection SelectionOf(const TreeTarget& target);
    // `node` of `nodes` resolved.
    static TreeTarget TargetOf(const std::vector<TreeNode>& nodes, int node);

    // Whether an item copied or dragged fits onto a target item: both directories or both
    // subdirectories of one directory type, subdirectories with the same index except that
    // any recipe fits any recipe.
    static bool Compatible(const TreeItemKey& source, const TreeItemKey& target);

    // The value records of an item: its codes with a value at the shown instance and, for a
    // whole Arm, those of the arm's meters and products. `forCopy`: the Recipe directory item
    // itself gives nothing.
    static std::string CollectRecords(const CVexa3Doc& document, const TreeTarget& source, bool forCopy);

    enum class PasteOutcome { Nothing, Refused, Pasted };
    // Stores the records of `data` at the target's instance. Data shorter than one record does
    // nothing; a first record of another directory type is refused with kPasteInvalid (or
    // kDropInvalid for a drop), shown to the user. Records of other types (except an Arm's
    // meters and products on an Arm), of unknown codes or outside the values are passed over.
    // `stored` counts the values stored.
    PasteOutcome Paste(CVexa3Doc& document, const TreeTarget& target, std::string_view data, bool drop,
                       int* stored = nullptr) const;

private:
    const UiServices& ui_;
    TreeCounts counts_;
    bool filled_ = false;
};

}  // namespace qs
