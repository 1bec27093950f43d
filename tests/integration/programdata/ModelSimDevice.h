#pragma once
// The program-code model (directories, subdirectories, the dictionary) talking to duravane-sim
// without a document: a stand-in context holds a protocol of the link layer, "QS3X.INI" and
// the data folders are a test's own, and COM1 is lent to definition builds the way the
// application's port table lends it. What the simulator received and answered is read back
// from its frame log.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "DocumentSim.h"
#include "link/ComPortTable.h"
#include "link/TerminalProtocol.h"
#include "programdata/AppOptions.h"
#include "programdata/DefinitionSource.h"
#include "programdata/ProgramDataContext.h"

namespace qs::test::modelsim {

using docsim::Exchange;
using docsim::Transport;

// A simulator with a folder of its own for "QS3X.INI", the data folders and a state file. The
// process's "QS3X.INI" and data home point into that folder while it lives; the ini maps COM1
// to the simulator's pty (when it has one) and names its TCP address as the definition builds'
// fallback host (when it listens on TCP).
class ModelSimDevice {
public:
    struct Setup {
        bool tcp = true;
        bool pty = false;
        std::vector<std::string> args{};  // addresses, faults ...
        std::string state{};              // --state file content ("" = none)
    };

    explicit ModelSimDevice(Setup setup);
    ~ModelSimDevice();
    ModelSimDevice(const ModelSimDevice&) = delete;
    ModelSimDevice& operator=(const ModelSimDevice&) = delete;

    bool Ready() const { return sim_ && sim_->Running(); }
    std::string Error() const { return sim_ ? sim_->Error() : "not started"; }
    SimProcess& Sim() { return *sim_; }
    const std::string& Host() const { return sim_->Host(); }

    // Where definition builds write: the data home's "quillset" folder (missing until a build
    // writes there).
    std::string BuildDir() const;
    // A file the build wrote there ("" when missing).
    std::string Built(const std::string& fileName) const;
    bool BuiltExists(const std::string& fileName) const;

    // A protocol of the link layer on this simulator: TCP/IP to its address and port 7734, or
    // the pty as COM1 with the settings of "QS3X.INI".
    std::unique_ptr<TerminalProtocol> Open(Transport transport, int protocolKind, int address = 1) const;

    // Text commands in order of arrival with their replies.
    std::vector<Exchange> Exchanges() const;
    std::vector<std::string> Commands() const;
    // Binary blocks received (definition requests), as their unescaped bytes.
    std::vector<std::string> BlocksReceived() const;
    // The device addresses of every frame received.
    std::set<int> AddressesReceived() const;
    // Frames received per transport ("tcp" or "pty").
    size_t FramesReceivedOver(const std::string& transport) const;
    // Waits until at least `received` text commands arrived and `sent` replies left.
    bool WaitForExchanges(size_t received, size_t sent) const;

private:
    TempDir files_;
    std::unique_ptr<ScopedEnv> ini_, dataHome_, dataDir_;
    std::unique_ptr<SimProcess> sim_;
};

// Lends COM1 of a port table to the definition builds of the sources made with Hook(), as the
// application does: the slot opened as a Minicomputer port when empty, a reference taken for
// each build and given back after it.
class Com1Lender {
public:
    explicit Com1Lender(ComPortTable& ports);
    const Com1Hook& Hook() const { return hook_; }
    int Acquired() const { return *acquired_; }

private:
    std::shared_ptr<int> acquired_ = std::make_shared<int>(0);
    Com1Hook hook_;
};

// The owning document as the directories see it: one protocol, the arm being transferred,
// the arms in use and their addresses.
class ModelContext final : public ProgramDataContext {
public:
    explicit ModelContext(std::unique_ptr<TerminalProtocol> link) : protocol(std::move(link)) {}
    DX3Protocol* Protocol() override { return protocol.get(); }
    int CurrentArm() const override { return arm; }
    int ActiveArmCount() const override { return activeArms; }
    int ArmAddress(int a) const override { return a >= 0 && a < 6 ? addresses[static_cast<size_t>(a)] : 1; }
    const AppOptions& Options() const override { return options; }
    const void* ErrorLogOwner() const override { return this; }

    std::unique_ptr<TerminalProtocol> protocol;
    int arm = 0;
    int activeArms = 6;
    std::vector<int> addresses = {1, 2, 3, 4, 5, 6};
    AppOptions options;
};

// The definition files the build made from the dictionary source; nothing is ever built.
inline DefinitionSource GeneratedFiles() { return docsim::BuiltDictionary(); }
// The whole content of a file ("" when it cannot be read).
std::string ReadWhole(const std::string& path);
// Where two images first differ, for a failure message ("" when equal).
std::string FirstDifference(const std::string& got, const std::string& want);

// "PV SY 023" style: the verb, the mnemonic and the number in three digits.
std::string CodeCommand(const std::string& verb, const std::string& mnemonic, int number);

}  // namespace qs::test::modelsim
