#pragma once
#include <string>
#include <vector>

#include "appmodel/programdata/DeviceCommands.h"

namespace qs {

class CDirectory;
class ProgressSink;

// Read Selection (F5) and Dump Selection (Alt+F5): the tree's selection from or to the device
// at its arm's address - a subdirectory, or a whole directory, and for an Arm directory also
// the Meter and Product directories that follow it.
class SelectionTransfer final : public DeviceTool {
public:
    static constexpr const char* kReadSelectionTitle = "Reading Selection...";
    static constexpr const char* kReadSelectionStart = "Initiating read...";
    static constexpr const char* kDumpSelectionTitle = "Transmitting Selection ...";
    static constexpr const char* kDumpSelectionStart = "Initiating download...";

    explicit SelectionTransfer(DeviceCommands& commands);

    // Each returns true when the whole selection was done; nothing selected does nothing.
    bool ReadSelection();
    bool DumpSelection();

private:
    // The selection walked: a subdirectory, or a directory (with the Arm's meters and
    // products).
    bool ReadSelected(ProgressSink& progress);
    bool WriteSelected(ProgressSink& progress);
    // The selected directory, and for an Arm its meters and products, with `walk`.
    bool WalkSelectedDirectory(ProgressSink& progress, bool (CDirectory::*walk)(ProgressSink*));
    // The Meter directories after an Arm directory in the chain, then the Product ones.
    static std::vector<std::vector<CDirectory*>> ArmCompanions(const CDirectory& arm);
    std::string StatusText() const;

    DeviceCommands& commands_;
};

}  // namespace qs
