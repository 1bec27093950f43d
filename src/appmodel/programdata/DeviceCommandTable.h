#pragma once
#include <string>
#include <vector>

namespace qs {

// The device commands of a program-data document's frame, by their own command numbers (the
// wx frame maps them onto its menu ids).
enum DeviceCommandId : int {
    kCmdReadAll = 32776,
    kCmdDumpAll = 32777,
    kCmdReadSelection = 32778,
    kCmdDumpSelection = 32779,
    kCmdTerminalEmulator = 32780,
    kCmdRetrieveNonresettables = 32833,
    kCmdTransactionLog = 32834,
    kCmdEventLog = 32835,
    kCmdAuditTrailLog = 32836,
    kCmdRemoteDisplay = 32837,
    kCmdInteractiveDisplay = 32838,
    kCmdUpgradeDeviceFirmware = 32840,
    kCmdGoOnline = 32841,
    kCmdGoOffline = 32842,
    kCmdThermalCalculator = 32843,
    kCmdDocumentOptions = 32848,
    kCmdUpgradeMmiFirmware = 32849,
};

// When a command may be chosen, from the document's connection state and port index.
enum class EnableRule {
    Always,
    Connected,        // state above 1 (Offline)
    ConnectedSerial,  // state above 1 on a COM port (not TCP/IP)
    TcpLink,          // port index 0
};

// A function key, alone or with Alt. wx reads an accelerator from a menu text only after a
// bare tab, so the frame registers these itself rather than trusting the texts below.
struct Accelerator {
    int functionKey = 0;  // 1-12; 0 none
    bool alt = false;

    // "F3", "Alt+F3"; "" for none.
    std::string Text() const;
};

struct DeviceCommandInfo {
    int id;
    const char* menuText;  // as the menus have always shown it, blanks around the tab included
    Accelerator accelerator;
    EnableRule rule;
    // False for the commands whose windows and transfers are not part of the program yet:
    // they stay disabled rather than pretend.
    bool available;
};

// The whole command table of the frame, in menu order, and its enabling rules.
class DeviceCommandTable {
public:
    static const std::vector<DeviceCommandInfo>& Commands();
    // Null for an id that is not a device command.
    static const DeviceCommandInfo* Find(int id);

    // Whether a rule lets its command be chosen.
    static bool RuleHolds(EnableRule rule, int state, int portIndex);
    // The rule holds and the command is available; false for an unknown id.
    static bool IsEnabled(int id, int state, int portIndex);

    // The menu text before its tab, trailing blanks dropped ("Read &All").
    static std::string MenuLabel(const DeviceCommandInfo& info);
};

}  // namespace qs
