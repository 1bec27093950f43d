#pragma once
#include <array>
#include <memory>

#include "link/ComProtocol.h"
#include "platform/SerialSettings.h"

namespace qs {

// The application-wide table of serial links: one reference-counted protocol object per
// COM1-COM99, shared by every document on that port. Documents ask the table for the
// protocol each time they use it and never keep the pointer, because reopening a slot (new
// settings, a reconnect) or handing the port to an emulator replaces or removes the object.
class ComPortTable {
public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 99;

    ComPortTable();
    ~ComPortTable();
    ComPortTable(const ComPortTable&) = delete;
    ComPortTable& operator=(const ComPortTable&) = delete;

    // Replaces slot n's protocol with a new Minicomputer or Terminal one on COM n, with the
    // given settings or else the port's "Comm" text. Keeps the slot's count. Returns false
    // silently for a port outside 1-99, a port with no device node or an unusable settings
    // text; says "Unable to open Com%d - Not found or in use" when the port does not open.
    [[nodiscard]] bool OpenComPort(int n, bool useMiniProtocol, const SerialSettings* settings = nullptr);
    // Counts one more user of slot n; false (nothing counted) when the slot is empty.
    [[nodiscard]] bool AddRefPort(int n);
    // One user less; at zero the slot's protocol is deleted and true returned. A count never
    // goes below zero.
    bool ReleasePort(int n);

    // Slot n's protocol or null (empty slot, port outside 1-99).
    ComProtocol* Protocol(int n) const;
    int RefCount(int n) const;
    // Deletes slot n's protocol while keeping its count and its users' references: the serial
    // port is being handed to an emulator, and each document reopens it at its next connection.
    void CloseSlot(int n);

    static bool IsValidPort(int n) { return n >= kFirstPort && n <= kLastPort; }

private:
    std::array<std::unique_ptr<ComProtocol>, kLastPort + 1> protocols_;
    std::array<int, kLastPort + 1> counts_{};
};

}  // namespace qs
