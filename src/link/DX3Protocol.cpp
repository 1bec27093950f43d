#include "link/DX3Protocol.h"

#include <cstdio>
#include <iterator>

#include "platform/UiServices.h"

namespace qs {

namespace {

// Rejection codes of text replies ("NO" and two digits).
const char* const kCommandErrors[] = {
    "Invalid Command",
    "In Program Mode",
    "Duravane III Released",
    "Value out of Range",
    "Flow Active",
    "No Transaction Ever Done",
    "Operation Not Allowed",
    "Wrong Control Mode",
    "Transaction In Progress",
    "Alarm Condition",
    "Storage Full",
    "Operation Out of Sequence",
    "Power Failed During Transaction",
    "Comm Authorized",
    "Program Code Not Used",
    "Keypad/Display in Use",
    "Ticket Not In Printer",
    "No Keypad Data Pending",
    "No Transaction In Progress",
    "Option Not Installed",
    "Start after Stop Delay",
    "Permissive Delay Active",
    "Print Request Pending",
    "No Meter Enabled",
    "Must be in Program Mode",
    "Ticket Alarm During Transaction",
    "Volume Type Not Selected",
    "Exactly 1 Recipe Must be Enabled",
    "Batch Limit Reached",
    "Checking Entries",
    "Product/Recipe/Additive Not Assigned",
    "Invalid for Current Configuration",
    "No Key Ever Pressed",
    "Maximum active arms exceeded",
    "Transaction Not Standby",
    "Swing Arm out of Position",
    "Card-In Required",
    "Data Not Available",
    "Multiple Additives Enabled On Meter",
    "No Current Batch On This Arm",
    "Invalid Operation on virtual Arm",
    "No pending transaction reports",
};

// Codes 90-99 of text replies.
const char* const kSystemErrors[] = {
    "Minicomputer Protocol Required",
    "Buffer Allocation Failure",
    "Keypad Locked",
    "Data Recall Failure",
    "Not in Program Mode",
    "Security Access Not Available",
    "Data Request Queued - Retry Later",
    "Busy - Archiving in Progress",
    "Undefined Error",
    "Duravane III Internal Error",
};

// Status words of binary replies from 0x8000.
const char* const kCriticalErrors[] = {
    "Empty Configuration",
    "Block Not Found",
    "Bad Message Format",
    "Block Out of Sequence",
    "Invalid Flash Data",
    "Data too large for Target Buffer",
    "Bad CRC",
    "No Configuration Available",
    "Download Already in Progress",
    "Bad Database Identifier",
    "In Program Mode",
    "Duravane III Released",
    "Value Out of Range",
    "Flow Active",
    "No Transaction Ever Done",
    "Operation Not Allowed",
    "Wrong Control Mode",
    "Transaction in Progress",
    "Alarm Active",
    "Storage Full",
    "Operation Out of Sequence",
    "Power Failed During Transaction",
    "Duravane III Authorized",
    "Program Code Not Used",
    "Display/Keypad in Remote Control",
    "No Keypad data pending",
    "No Transaction in Progress",
    "Option Not Installed",
    "Start after Stop Delay",
    "Permissive Delay Active",
    "Print Request Pending",
    "No Meter Enabled",
    "Must be in Program Mode",
    "Ticket Alarm During Transaction",
    "Volume Type Not Selected",
    "Exactly 1 Recipe Must be Enabled",
    "Batch Limit Reached",
    "Checking Entries",
    "Product/Recipe/Additive Not Assigned",
    "Minicomputer Protocol Required",
    "Buffer Allocation Error",
    "Keypad Locked",
    "Data Recall Failed",
    "Internal Error",
    "Transmit Reply",
    "Unknown Error",
    "Unused Batch",
};

// Status words of binary replies from 0xC000.
const char* const kFatalErrors[] = {
    "Internal Flash Error",
    "Flash Has Overrun",
    "Internal Buffer Error",
    "Buffer Allocation Error",
    "Buffer Overrun",
    "Flash Erase Error",
    "Flash Write Error",
};

static_assert(std::size(kCommandErrors) == 42, "codes 0-41");
static_assert(std::size(kSystemErrors) == 10, "codes 90-99");
static_assert(std::size(kCriticalErrors) == 0x2F, "codes 0x8000-0x802E");
static_assert(std::size(kFatalErrors) == 7, "codes 0xC000-0xC006");

template <size_t N>
const char* Row(const char* const (&table)[N], uint32_t first, uint32_t code) {
    if (code < first || code - first >= N) return nullptr;
    return table[code - first];
}

}  // namespace

DX3Protocol::DX3Protocol(int comPort, const SerialSettings& settings, int protocolIndex, int address)
    : ComProtocol(comPort, settings, protocolIndex, address) {}

DX3Protocol::DX3Protocol(const std::string& host, unsigned tcpPort, int protocolIndex, int address)
    : ComProtocol(host, tcpPort, protocolIndex, address) {}

DX3Protocol::DX3Protocol(std::unique_ptr<ComStream> port, int protocolIndex, int address)
    : ComProtocol(std::move(port), protocolIndex, address) {}

std::string DX3Protocol::ErrorText(uint32_t code) {
    const char* text = nullptr;
    if (code >= 0xC000) text = Row(kFatalErrors, 0xC000, code);
    else if (code >= 0x8000) text = Row(kCriticalErrors, 0x8000, code);
    else if (code >= 90) text = Row(kSystemErrors, 90, code);
    else text = Row(kCommandErrors, 0, code);
    if (text) return text;
    char unknown[32];
    std::snprintf(unknown, sizeof unknown, "Unknown Error 0x%04X", static_cast<unsigned>(code));
    return unknown;
}

std::string DX3Protocol::GetErrorText() const { return ErrorText(lastCode_); }

int DX3Protocol::ReportError(const char* prefix, unsigned type) {
    if (port_->Status() == kStatusRejected) {
        // The two-part message "%1 - %2"; the default prefix carries its own dash, and the
        // texts users know are kept as they are.
        std::string text = prefix ? prefix : "Command Rejected - ";
        text += " - ";
        text += GetErrorText();
        return ShowMessage(text, type);
    }
    return port_->ShowError(nullptr, type);
}

}  // namespace qs
