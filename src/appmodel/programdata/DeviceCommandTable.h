#pragma once
#include <functional>
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

// The groups of the device menu, in menu order; a separator stands between two.
enum class MenuSection {
    Transfers,     // Read All, Dump All, the selection's transfers
    DeviceTools,   // terminal, totals, logs, displays, firmware
    Link,          // online and offline
    OfflineTools,  // the calculator
    Document,      // the document's options
};

// A function key, alone or with Alt. wx reads an accelerator from a menu text only after a
// bare tab, so the frame registers these itself rather than trusting the texts below.
struct Accelerator {
    int functionKey = 0;  // 1-12; 0 none
    bool alt = false;

    // "F3", "Alt+F3"; "" for none.
    std::string Text() const;
};

// One command of the frame: its number, where its menu item stands, the item's text (blanks
// around the tab included), its key, when it may be chosen and what runs it. A row without a
// handler belongs to a tool that is not part of the program yet: it is shown, and disabled.
struct DeviceCommandRow {
    int id = 0;
    MenuSection section = MenuSection::Transfers;
    const char* menuText = "";
    Accelerator accelerator;
    EnableRule rule = EnableRule::Always;
    // True when the command did all its work.
    std::function<bool()> handler;

    bool Available() const { return static_cast<bool>(handler); }
};

// The command rows of one frame. Each tool registers its own rows; the table keeps them in
// menu order (by section, and within a section by command number), answers which are enabled
// and runs them.
class DeviceCommandTable {
public:
    // Adds a row; a row with the same number is replaced (a tool once built takes the place of
    // its disabled row), except that a row without a handler never replaces one with.
    void Register(DeviceCommandRow row);
    const std::vector<DeviceCommandRow>& Rows() const { return rows_; }
    // Null for a number no row has.
    const DeviceCommandRow* Find(int id) const;

    // Whether a rule lets its command be chosen.
    static bool RuleHolds(EnableRule rule, int state, int portIndex);
    // The row exists, has a handler and its rule holds.
    bool IsEnabled(int id, int state, int portIndex) const;
    // Runs the row's handler when it is enabled; false when it did not run or did not complete.
    bool Run(int id, int state, int portIndex) const;

    // The menu text before its tab, trailing blanks dropped ("Read &All").
    static std::string MenuLabel(const DeviceCommandRow& row);

private:
    std::vector<DeviceCommandRow> rows_;
};

}  // namespace qs
