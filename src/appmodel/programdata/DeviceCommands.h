#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "appmodel/common/AppServices.h"
#include "appmodel/programdata/DeviceCommandHooks.h"
#include "appmodel/programdata/DeviceCommandTable.h"
#include "appmodel/programdata/FrameSelection.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

class DisplayLauncher;
class LinkCommands;
class SelectionTransfer;
class WholeDeviceTransfer;

// A tool of the device frame: registers its command rows in its constructor and runs them.
class DeviceTool {
public:
    virtual ~DeviceTool() = default;
};

// The device commands of a program-data document's frame, without the window. It holds what
// every command shares - the document, the services, the tree's selection, the rule of one
// command at a time, connecting with its "not responding" message, the arm-address check, the
// confirmation of writes and the text of a refused write - and the table of command rows the
// tools register (the transfers, the link, the displays; the frame adds the tools with windows
// of their own). The frame keeps one per document window, feeds it the
// selection, asks it which commands are enabled and runs them by number; everything reaches
// the user through the services.
//
// One device command runs at a time in the whole program: while one pumps its progress
// window, another (from any frame) is refused, and a reconnection after an emulator waits
// until it has ended.
class DeviceCommands {
public:
    static constexpr const char* kNotResponding = "Duravane.NET not responding";
    static constexpr const char* kSelectionNotResponding = "Duravane III not responding";
    static constexpr const char* kConfirmWrite = "You are currently online; are you sure you want to modify the device?";

    // "Cannot perform requested operation - arm address is 0.\nSet arm N address ..." for arm
    // number N (1-6).
    static std::string ArmAddressZeroText(int armNumber);
    // "Cannot program Duravane.NET - " and why.
    static std::string CannotProgramText(const std::string& why);

    // `services` outlive the commands.
    DeviceCommands(CVexa3Doc& document, const AppServices& services, DeviceCommandHooks hooks = {});
    ~DeviceCommands();
    DeviceCommands(const DeviceCommands&) = delete;
    DeviceCommands& operator=(const DeviceCommands&) = delete;

    CVexa3Doc& Document() const { return doc_; }
    const AppServices& Services() const { return services_; }
    const UiServices& Ui() const { return services_.ui; }
    ComPortTable& Ports() const { return services_.ports; }
    const DeviceCommandHooks& Hooks() const { return hooks_; }
    const FrameSelection& Selection() const { return selection_; }
    void SetSelection(const FrameSelection& selection);

    // ---- the table
    DeviceCommandTable& Table() { return table_; }
    const DeviceCommandTable& Table() const { return table_; }
    // Makes a tool on these commands (Tool(*this, args...)), which registers its rows; it
    // lives as long as the commands.
    template <class Tool, class... Args>
    Tool& AddTool(Args&&... args) {
        auto tool = std::make_unique<Tool>(*this, std::forward<Args>(args)...);
        Tool& added = *tool;
        tools_.push_back(std::move(tool));
        return added;
    }
    // The row's rule holds for the document's state and port and it has a handler; nothing is
    // enabled while a command runs.
    bool IsEnabled(int id) const;
    // Runs the command with that number when it is enabled. False when it did not run or did
    // not complete.
    bool Execute(int id);

    // ---- what the commands share
    // Marks a command as running for its whole life; a second one is refused meanwhile.
    class CommandScope {
    public:
        CommandScope();
        ~CommandScope();
        CommandScope(const CommandScope&) = delete;
        CommandScope& operator=(const CommandScope&) = delete;
        // False when another command was running: this one must not go on.
        bool Entered() const { return entered_; }

    private:
        bool entered_;
    };
    // The wait cursor of the window, until End() or the end of the scope.
    class WaitCursor {
    public:
        explicit WaitCursor(const DeviceCommands& commands);
        ~WaitCursor() { End(); }
        WaitCursor(const WaitCursor&) = delete;
        WaitCursor& operator=(const WaitCursor&) = delete;
        void End();

    private:
        const DeviceCommandHooks& hooks_;
        bool busy_ = false;
    };
    static bool CommandRunning();

    // Connects the document (`readOnlyProbe`: without the write test). When the device gave
    // no usable answer, `wait` (if any) ends, `notResponding` is said and the result is false.
    bool Connect(bool readOnlyProbe, const char* notResponding = kNotResponding, WaitCursor* wait = nullptr);
    // Arm of the selection for transfers (0 when the tree gave none).
    int SelectedArm() const;
    // False after saying so when the selected arm has no address.
    bool CheckArmAddress() const;
    // True when writes need no confirmation or the user gave it.
    bool ConfirmWrite() const;
    // The reason a refused write test gives, and the message that says it.
    std::string RefusalText() const;
    void SayWriteRefused() const;
    // The next single command goes to the device the document connects to.
    void AddressBaseDevice() const;

    // ---- the commands of the tools every frame has
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
    // application options say.
    DocumentLinkFields OptionsFields() const;
    void ApplyOptions(const DocumentLinkFields& fields, bool serialSettingsEdited);

    // An emulator program has ended and given the port back: the document connects again, at
    // once or, while another command runs, as soon as it ends. Returns the state now.
    CVexa3Doc::ConnectionState ReconnectAfterEmulator();
    // The frame got the focus: documents sharing a COM port may address different devices.
    void OnFocus();

private:
    CVexa3Doc& doc_;
    const AppServices& services_;
    DeviceCommandHooks hooks_;
    FrameSelection selection_;
    DeviceCommandTable table_;
    std::vector<std::unique_ptr<DeviceTool>> tools_;
    WholeDeviceTransfer* whole_ = nullptr;
    SelectionTransfer* selectionTransfer_ = nullptr;
    LinkCommands* link_ = nullptr;
    DisplayLauncher* displays_ = nullptr;
};

}  // namespace qs
