#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "appmodel/programdata/DeviceCommands.h"

namespace qs {

class ProcessLauncher;

// Starts the emulator programs on a document's device: Farview (the remote display) over
// TCP/IP or a serial link, Panelsim (the operator panel) over a serial link. On a serial link
// the device is first asked to hand its port to the display, and Quillset lets the port go
// (the COM slot is emptied, the document goes Offline) until the emulator says it is done and
// the document is connected again. Registers Remote Display and Interactive Display.
class DisplayLauncher final : public DeviceTool {
public:
    static constexpr const char* kNotResponding = "Duravane.NET not responding";
    static constexpr const char* kMiniRequired = "Minicomputer mode required for this function";
    static constexpr const char* kPanelInUse = "Cannot activate interactive display if MMI is in use.";
    static constexpr const char* kStatusDisplayOff =
        "Cannot active interactive display unless System Status Display option selected in System 139.";
    // Device refusals of the operator-panel hand-over.
    static constexpr uint16_t kPanelInUseCode = 0x800F;
    static constexpr uint16_t kStatusDisplayOffCode = 0x801C;
    static constexpr const char* kMainTitle = "Quillset";

    // The programs are looked for in the services' program folder, then on PATH.
    explicit DisplayLauncher(DeviceCommands& commands);

    // Each runs as a device command; true when the emulator was started.
    bool RemoteDisplay();
    bool InteractiveDisplay();
    // The emulator has given the port back: collects ended emulators and connects the document
    // again (with the write test). Returns the new state.
    CVexa3Doc::ConnectionState Reconnect();

    // "Unable to start <program> - <reason>".
    static std::string StartFailureText(const std::string& program, const std::string& reason);

private:
    bool StartRemoteDisplay();
    bool StartInteractiveDisplay();
    // The program's path, or nullopt after saying it cannot be found.
    std::optional<std::string> Locate(const char* program) const;
    // Sends the hand-over request; a send that fails is reported. False then.
    bool SendHandover(uint16_t code);
    // Lets the COM slot go (its count and the documents' references stay) and marks the
    // document Offline.
    void ReleasePort();
    // Starts the program with the parameter text split at blanks. A failed start is said.
    bool Start(const std::string& path, const char* program, const std::string& parameters);
    // After a serial hand-over: minimise when started; otherwise take the port back.
    bool Finish(bool started);

    DeviceCommands& commands_;
    CVexa3Doc& doc_;
    ProcessLauncher& launcher_;
    const std::string& programDir_;
};

}  // namespace qs
