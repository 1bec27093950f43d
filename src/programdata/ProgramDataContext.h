#pragma once

namespace qs {

class DX3Protocol;
struct AppOptions;

// What the directories of a program-data document need from the document that owns them:
// the link, the arm being transferred, the arms in use and their device addresses, the
// application options, and the owner its transfer-error log lines are filed under.
class ProgramDataContext {
public:
    virtual ~ProgramDataContext() = default;
    // The protocol of the document's link; null when it has none.
    virtual DX3Protocol* Protocol() = 0;
    // The arm being transferred or shown, 0-based.
    virtual int CurrentArm() const = 0;
    // Arms in use (from Config 001); arms from this one on are written only in part.
    virtual int ActiveArmCount() const = 0;
    // Device address of an arm (0-based).
    virtual int ArmAddress(int arm) const = 0;
    virtual const AppOptions& Options() const = 0;
    // The document the error-log lines belong to (they go when it closes).
    virtual const void* ErrorLogOwner() const = 0;
    // A command or its reply failed on the link itself (not a rejection by the device): the
    // document no longer counts as connected.
    virtual void LinkFailed() = 0;
};

}  // namespace qs
