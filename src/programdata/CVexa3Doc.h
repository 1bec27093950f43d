#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "programdata/AppOptions.h"
#include "programdata/ArmConfiguration.h"
#include "programdata/DefinitionSource.h"
#include "programdata/DocumentLink.h"
#include "programdata/DocumentLinkFields.h"
#include "programdata/ProgramDataContext.h"

namespace qs {

class ArchiveReader;
class ArchiveWriter;
class CDirectory;
class ComPortTable;
class DX3Protocol;
class DocumentObserver;
class PrintSheet;
class ProgressSink;

// The document of one device: its link settings, its model counts, the chain of program-code
// directories with one value per code and instance, and the state of its link. It connects to
// the device (identifying it and probing whether it takes writes), sends single commands for
// the rest of the program, reads and writes the whole configuration, prints it, derives its
// counts from its configuration codes, and is kept in a ".D3X" file.
//
// A document on a COM port takes the protocol from the application's port table each time it
// uses it (the slot's object is replaced by every connection and removed when the port is
// lent to an emulator); a document on TCP/IP owns its protocol.
class CVexa3Doc final : public ProgramDataContext {
public:
    enum ConnectionState : int {
        kStateNoComm = 0,
        kStateOffline = 1,
        kStateReadOnly = 2,
        kStateOnlineArm = 3,
        kStateOnline = 4,
        kStateSetup = 5,
    };
    static constexpr int kMaxArms = 6;
    static constexpr int kPortNone = -1;
    static constexpr int kPortTcp = 0;
    // Replies are kept to what the device's reply buffer holds (271 characters and a NUL).
    static constexpr size_t kReplyBufferSize = 272;
    // Largest ".D3X" file read: far more records than every code of every arm.
    static constexpr size_t kMaxFileBytes = 64u << 20;

    static constexpr const char* kProbeCommand = "PV SY 111";
    static constexpr const char* kConnectingText = "Attempting to connect to Duravane III.net...";
    static constexpr const char* kConnectedText = "Connected.";
    static constexpr const char* kClearedText = "     ";

    // " ? Comm ", " Offline  ", " *READ ONLY* ", " *ONLINE/ARM* ", " *ONLINE* ", "Setup"; "" for
    // any other state.
    static const char* StateLabel(int state);

    // Builds the directory chain from the definition files `source` finds. `options` (the
    // application's, outliving the document) decide what counts as shown; null: defaults.
    explicit CVexa3Doc(ComPortTable& ports, const DefinitionSource& source = DefinitionSource::FromEnvironment(),
                       const AppOptions* options = nullptr);
    ~CVexa3Doc() override;
    CVexa3Doc(const CVexa3Doc&) = delete;
    CVexa3Doc& operator=(const CVexa3Doc&) = delete;

    // Makes the protocol of a TCP/IP link for a host text and a protocol kind; by default a
    // connection to the host's port 7734 at device address 1.
    using TcpProtocolFactory = DocumentLink::TcpProtocolFactory;
    void SetTcpProtocolFactory(TcpProtocolFactory factory) { link_.SetTcpFactory(std::move(factory)); }

    // What the directories need of their document.
    DX3Protocol* Protocol() override { return GetProtocol(); }
    int CurrentArm() const override { return currentArm_; }
    int ActiveArmCount() const override { return config_.activeArms; }
    int ArmAddress(int arm) const override;
    const AppOptions& Options() const override;
    const void* ErrorLogOwner() const override { return this; }
    // The link failed under a command (not a rejection): Offline, so the next command that
    // needs the device connects again.
    void LinkFailed() override;

    // The link: the own protocol on TCP/IP, the COM slot's on a serial port, null without a
    // port or while the slot is empty. Never kept by the caller past its use.
    DX3Protocol* GetProtocol();
    // One command at the protocol's present address. The reply text (at most 271 characters),
    // "         NO%02d" for a rejection (nine blanks, so that a value read from it is none), or
    // nullopt after a failure that has been shown to the user.
    std::optional<std::string> SendCommand(std::string_view command);
    // Gives the link back: the reference on the COM slot, or the own TCP/IP protocol.
    void ReleaseProtocol();
    // Opens the link, probes the device and identifies it; with `readOnlyProbe` false also
    // tests whether it takes writes. Returns the new state (also stored): 0 no port, 1 no usable
    // answer, 2 readable, 4 writable (or not a controller, which is said).
    ConnectionState Connect(bool readOnlyProbe);
    // How the write test of the last Connect(false) ended: the port status of its reply (0
    // accepted, 8 rejected with `code` the device's, else the failure), or -1 when none was
    // sent (a read-only probe, a device that is not a controller, or a probe reply too short
    // to be sent back). A refused dump names the rejection only when there was one.
    struct WriteTest {
        int status = -1;
        uint32_t code = 0;
    };
    const WriteTest& LastWriteTest() const { return writeTest_; }
    // Asks the device for its firmware identifier ("GP"): the revision of the matching row of
    // the controller or operator-panel table (device kind 7 or 8), or -1, which is then also
    // the document's revision.
    float IdentifyDevice();
    // "LO" at the base address, connecting first when there is no link; true when accepted.
    bool SendLoCommand();
    // Products of one arm (arm >= 0) or of every arm (arm < 0) as the device's Config codes
    // give them.
    int CountArmProducts(int arm);
    // Derives active arms, flagged arms, arm mode and meters and products per arm from the
    // document's own values. False when the document has no Config 001. Its warnings (too many
    // arms, an arm in use without address) go to `warnings` when given, else to the user.
    bool ApplyConfiguration(std::vector<std::string>* warnings = nullptr);
    // Every directory of every arm (recipes last), from or to the device. False at the first
    // directory that stops (a cancel, Abort or a failed send); the values so far stay. Writing
    // first clears this document's lines of the transfer-error log.
    bool ReadAllFromDevice(ProgressSink* progress);
    bool WriteAllToDevice(ProgressSink* progress);
    // Every directory with a shown code, arm by arm (recipes last).
    void PrintAll(PrintSheet& sheet);

    // Stores "N" (or "N option text" for a code whose option list has that index) or a text as
    // the value of an instance of a code of the first directory of the type. False when there
    // is no such code or instance.
    bool SetParamValue(int directoryType, int number, int instance, int value);
    bool SetParamText(int directoryType, int number, int instance, std::string_view text);

    // The ".D3X" file: header, link settings, value records.
    void Serialize(ArchiveWriter& out) const;
    // Loads a file image. A magic that is not a program-data file's, or a file that ends inside
    // its header or link settings, throws ArchiveError and leaves the document as it was;
    // otherwise the document takes the file's settings and values (fields out of range keep
    // their defaults, records naming nothing known are passed over) and a file of another
    // revision is warned about.
    void Serialize(ArchiveReader& in);
    // The file at `path`; a file that cannot be read or is refused is said, and gives false.
    [[nodiscard]] bool Load(const std::string& path);
    // Writes through a temporary file and a rename; a failure is said and leaves the old file.
    // An online document then sends "LO".
    [[nodiscard]] bool Save(const std::string& path);

    // The settings the document options dialog edits, and their return after OK (a port of
    // -1, a negative address or code page, or a protocol of -1 leave theirs; the model is not
    // stored). A changed link is let go, to be opened again at the next connection.
    DocumentLinkFields GetLinkFields() const;
    void SetLinkFields(const DocumentLinkFields& fields);

    void AddObserver(DocumentObserver* observer);
    void RemoveObserver(DocumentObserver* observer);
    // Tells every view that values or the identification changed.
    void UpdateAllViews();

    bool IsModified() const { return modified_; }
    void SetModified(bool modified = true) { modified_ = modified; }

    CDirectory* FirstDirectory() const { return first_; }
    // The first directory of a type; null when the document has none.
    CDirectory* FindDirectory(int type) const;
    int DirectoryCount() const;
    // Codes of all directories as a full transfer steps through them.
    int TotalCodes() const { return totalCodes_; }

    ConnectionState State() const { return state_; }
    // Falling to Offline or below also clears the message pane's "Connected.".
    void SetState(ConnectionState state);
    int PortIndex() const { return port_; }
    void SetPortIndex(int port);
    int ProtocolKind() const { return protocolKind_; }
    void SetProtocolKind(int kind);
    int BaseAddress() const { return armAddresses_[0]; }
    // 1-99; anything else is ignored.
    void SetBaseAddress(int address);
    // Arms 0-5; the first is the base address. 0-99 (0 = arm not used).
    void SetArmAddress(int arm, int address);
    const std::array<int, kMaxArms>& ArmAddresses() const { return armAddresses_; }
    uint32_t Ipv4() const { return ipv4_; }
    // Also the host text the TCP/IP link connects to.
    void SetIpv4(uint32_t ipv4);
    const std::string& Host() const { return host_; }
    int CodePage() const { return codePage_; }
    const std::string& Description() const { return description_; }
    void SetDescription(std::string_view text);
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    bool HoldsPortReference() const { return link_.HoldsReference(); }

    int DeviceKind() const { return deviceKind_; }
    float Revision() const { return revision_; }
    int ArmCount() const { return armCount_; }
    int MeterCount() const { return meterCount_; }
    int ProductCount() const { return productCount_; }
    int RecipeCount() const { return recipeCount_; }
    int AdditiveCount() const { return additiveCount_; }
    int SpareCount() const { return spareCount_; }
    void SetCurrentArm(int arm);
    int FlaggedArmCount() const { return config_.flaggedArms; }
    int ArmMode() const { return config_.armMode; }
    const ArmConfiguration& Configuration() const { return config_; }
    const std::array<int, 2>& BayAddresses() const { return bayAddresses_; }
    void SetBayAddress(int bay, int address);

private:
    void BuildChain(const DefinitionSource& source);
    void ComputeTotalCodes();
    void ClearValues();
    // Calls visit(directory) for every directory of a whole transfer with the current arm set;
    // false (the arm restored) as soon as a visit returns false.
    template <class Visit>
    bool WalkAll(Visit&& visit);

    ConnectionState ProbeAnswered(const std::string& reply, bool readOnlyProbe);
    ConnectionState ProbeRejected();
    // The value of a reply to one command at the base address, "" for a rejection or failure.
    std::string QueryValue(const std::string& command);
    // Takes the settings of a file or of the options dialog; a changed port, protocol or host
    // lets the link go.
    void ChangeLink(int port, int protocolKind, uint32_t ipv4);

    DocumentLink link_;
    const AppOptions* options_;
    std::vector<std::unique_ptr<CDirectory>> directories_;
    CDirectory* first_ = nullptr;

    std::array<int, kMaxArms> armAddresses_ = {1, 2, 3, 4, 5, 6};
    std::array<int, 2> bayAddresses_ = {0, 0};
    int port_ = 1;
    int codePage_ = 0;
    uint32_t ipv4_ = 0xC0A80001;
    int protocolKind_ = 1;
    std::string description_;
    std::string title_;
    std::string host_;

    ConnectionState state_ = kStateNoComm;
    WriteTest writeTest_;
    int deviceKind_ = 7;
    float revision_ = -1.0f;
    int armCount_ = kMaxArms;
    int meterCount_ = 6;
    int productCount_ = 6;
    int recipeCount_ = 50;
    int additiveCount_ = 24;
    int spareCount_ = 2;
    int totalCodes_ = 0;
    int currentArm_ = 0;
    ArmConfiguration config_;  // active and flagged arms, arm mode, meters and products per arm

    bool modified_ = false;
    size_t savedBytes_ = 0;  // the last save's size: room for the next one up front
    std::vector<DocumentObserver*> observers_;
};

}  // namespace qs
