#pragma once
#include <string>
#include <vector>

#include "appmodel/programdata/DeviceCommandHooks.h"
#include "appmodel/programdata/DeviceCommandTable.h"
#include "appmodel/launch/DisplayLauncher.h"
#include "appmodel/programdata/DocumentOptionsModel.h"
#include "appmodel/programdata/FrameSelection.h"

namespace qs {

class CDirectory;
class CVexa3Doc;
class ComPortTable;
class ProcessLauncher;
class ProgressSink;

// The device commands of a program-data document's frame, without the window: reading and
// writing the whole device or the tree's selection, going online and offline, the document's
// link options and the launch of the emulator programs. The frame keeps one per document
// window, feeds it the tree's selection, asks it which commands are enabled and calls the
// handlers; everything reaches the user through the platform's services.
//
// One device command runs at a time in the whole program: while one pumps its progress
// window, another (from any frame) is refused, and a reconnection after an emulator waits
// until it has ended.
class DeviceCommands {
public:
    static constexpr const char* kNotResponding = "Duravane.NET not responding";
    static constexpr const char* kSelectionNotResponding = "Duravane III not responding";
    static constexpr const char* kConfirmWrite = "You are currently online; are you sure you want to modify the device?";
    static constexpr const char* kReadAllTitle = "Reading Duravane.NET...";
    static constexpr const char* kReadSelectionTitle = "Reading Selection...";
    static constexpr const char* kReadSelectionStart = "Initiating read...";
    static constexpr const char* kDumpSelectionTitle = "Transmitting Selection ...";
    static constexpr const char* kDumpSelectionStart = "Initiating download...";

    // "Cannot perform requested operation - arm address is 0.\nSet arm N address ..." for arm
    // number N (1-6).
    static std::string ArmAddressZeroText(int armNumber);
    // "Cannot program Duravane.NET - " and why.
    static std::string CannotProgramText(const std::string& why);

    // Emulator programs are looked for in `programDir` (by default the folder of the running
    // executable), then on PATH.
    DeviceCommands(CVexa3Doc& document, ComPortTable& ports, ProcessLauncher& launcher, DeviceCommandHooks hooks = {});
    DeviceCommands(CVexa3Doc& document, ComPortTable& ports, ProcessLauncher& launcher, DeviceCommandHooks hooks,
                   std::string programDir);
    ~DeviceCommands();
    DeviceCommands(const DeviceCommands&) = delete;
    DeviceCommands& operator=(const DeviceCommands&) = delete;

    CVexa3Doc& Document() const { return doc_; }
    const FrameSelection& Selection() const { return selection_; }
    void SetSelection(const FrameSelection& selection);

    // The frame's enabling rules: the document's state and port decide; commands that are not
    // part of the program yet are disabled; nothing is enabled while a command runs.
    bool IsEnabled(int id) const;
    // Runs the command with that id when it is enabled and handled here (every command but
    // the document options, whose dialog the frame shows). False when it did not run or did
    // not complete.
    bool Execute(int id);

    // Each returns true when the command did all its work.
    bool ReadAll();
    bool DumpAll();
    bool ReadSelection();
    bool DumpSelection();
    bool GoOnline();
    bool GoOffline();
    bool RemoteDisplay();
    bool InteractiveDisplay();

    // The document options dialog is filled from these and, after OK, its result applied: the
    // link is let go when its port, protocol or address changed and opened again as the
    // application options say. `serialSettingsEdited`: the port's serial settings were
    // stored while the dialog was open.
    DocumentLinkFields OptionsFields() const;
    void ApplyOptions(const DocumentLinkFields& fields, bool serialSettingsEdited);

    // An emulator program has ended and given the port back: the document connects again, at
    // once or, while another command runs, as soon as it ends. Returns the state now.
    int ReconnectAfterEmulator();
    // The frame got the focus: documents sharing a COM port may address different devices.
    void OnFocus();

    static bool CommandRunning();

private:
    class CommandScope;
    class WaitCursor;

    // Arm of the selection for transfers (0 when the tree gave none).
    int SelectedArm() const;
    // False after saying so when the selected arm has no address.
    bool CheckArmAddress() const;
    bool ConfirmWrite() const;
    // The reason a refused write test gives.
    std::string RefusalText() const;
    // The selection walked: a subdirectory, or a directory (with the Arm's meters and
    // products).
    bool ReadSelected(ProgressSink& progress);
    bool WriteSelected(ProgressSink& progress);
    // The selected directory, and for an Arm its meters and products, with `walk`.
    bool WalkSelectedDirectory(ProgressSink& progress, bool (CDirectory::*walk)(ProgressSink*));
    // The Meter directories after an Arm directory in the chain, then the Product ones.
    std::vector<std::vector<CDirectory*>> ArmCompanions(const CDirectory& arm) const;
    std::string SelectionStatusText() const;
    void Complete(ProgressSink& progress);

    CVexa3Doc& doc_;
    ComPortTable& ports_;
    DeviceCommandHooks hooks_;
    DisplayLauncher displays_;
    FrameSelection selection_;
};

}  // namespace qs
