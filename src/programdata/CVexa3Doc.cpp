#include "programdata/CVexa3Doc.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "link/ComPortTable.h"
#include "link/DX3Protocol.h"
#include "platform/BinaryArchive.h"
#include "platform/DocumentFile.h"
#include "platform/UiServices.h"
#include "programdata/CDirectory.h"
#include "programdata/CFileHeader.h"
#include "programdata/CParam.h"
#include "programdata/CodePageTable.h"
#include "programdata/DeviceIdentification.h"
#include "programdata/DocumentObserver.h"
#include "platform/PrintSheet.h"
#include "programdata/ProgramDataFile.h"
#include "programdata/Revision.h"

namespace qs {

namespace {

constexpr int kMaxAddress = 99;
// The write test sends the probe's reply back as a "PC" command of this length: System 111 is
// a one-digit code, and the cut keeps anything after its digit from being written.
constexpr size_t kWriteTestLength = 11;
// An operator panel below this revision cannot be programmed at all.
constexpr float kFirstSupportedPanel = 10.02f;
constexpr float kRevisionTolerance = 0.001f;
// A rejection as SendCommand gives it: nine blanks, then "NO" and the code.
constexpr std::string_view kRejectionLead = "         NO";

const AppOptions& DefaultOptions() {
    static const AppOptions options;
    return options;
}

bool ValidAddress(int address) { return address >= 0 && address <= kMaxAddress; }

std::string CodeCommand(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "PV CF %03d", number);
    return text;
}

}  // namespace

const char* CVexa3Doc::StateLabel(int state) {
    static constexpr const char* kLabels[] = {" ? Comm ", " Offline  ", " *READ ONLY* ", " *ONLINE/ARM* ", " *ONLINE* ",
                                              "Setup"};
    return state >= 0 && state < static_cast<int>(std::size(kLabels)) ? kLabels[state] : "";
}

CVexa3Doc::CVexa3Doc(ComPortTable& ports, const DefinitionSource& source, const AppOptions* options)
    : link_(ports), options_(options), host_(ProgramDataFile::HostText(ipv4_)) {
    BuildChain(source);
    ComputeTotalCodes();
}

CVexa3Doc::~CVexa3Doc() {
    ReleaseProtocol();
    // Copies go before the directory whose code list they share (the list itself lives as
    // long as any of them).
    first_ = nullptr;
    while (!directories_.empty()) directories_.pop_back();
}

void CVexa3Doc::BuildChain(const DefinitionSource& source) {
    CDirectory* last = nullptr;
    auto keep = [&](std::unique_ptr<CDirectory> d) -> CDirectory* {
        if (!d->Loaded()) return nullptr;
        CDirectory* kept = d.get();
        if (last) last->SetNextDirectory(kept);
        else first_ = kept;
        last = kept;
        directories_.push_back(std::move(d));
        return kept;
    };
    auto withCopies = [&](CDirectory* d, int copies) {
        for (int i = 0; d != nullptr && i < copies; ++i) d = keep(std::make_unique<CDirectory>(*d));
    };

    keep(std::make_unique<CDirectory>(CDirectory::kConfig, "Config", 10, 0, true, false, this, source));
    keep(std::make_unique<CDirectory>(CDirectory::kSystem, "System", 11, 0, false, false, this, source));
    withCopies(keep(std::make_unique<CDirectory>(CDirectory::kArm, "Arm", 9, 1, false, true, this, source)), kMaxArms - 1);
    withCopies(keep(std::make_unique<CDirectory>(CDirectory::kMeter, "Meter", 9, meterCount_, false, true, this, source)),
               meterCount_ - 1);
    withCopies(
        keep(std::make_unique<CDirectory>(CDirectory::kProduct, "Product", 9, productCount_, false, true, this, source)),
        productCount_ - 1);
    keep(std::make_unique<CDirectory>(CDirectory::kBayA, "Bay A", 9, 1, false, false, this, source));
    keep(std::make_unique<CDirectory>(CDirectory::kBayB, "Bay B", 9, 1, false, false, this, source));
    keep(std::make_unique<CDirectory>(CDirectory::kRecipe, "Recipe", 0, recipeCount_, true, false, this, source));
}

template <class Visit>
bool CVexa3Doc::WalkAll(Visit&& visit) {
    const int saved = currentArm_;
    CDirectory* recipe = nullptr;
    bool going = true;
    for (int arm = 0; going && arm < armCount_; ++arm) {
        currentArm_ = arm;
        for (CDirectory* d = first_; going && d != nullptr; d = d->NextDirectory()) {
            if (arm > 0 && !d->PerArm()) continue;
            // Each Arm directory holds one arm's codes.
            if (d->Type() == CDirectory::kArm && d->CurrentInstance() != arm) continue;
            if (d->Type() == CDirectory::kRecipe) {
                if (recipe == nullptr) recipe = d;
                continue;
            }
            going = visit(*d);
        }
    }
    if (going && recipe != nullptr) {
        currentArm_ = 0;
        going = visit(*recipe);
    }
    currentArm_ = saved;
    return going;
}

void CVexa3Doc::ComputeTotalCodes() {
    totalCodes_ = 0;
    WalkAll([this](CDirectory& d) {
        totalCodes_ += d.TotalParams();
        return true;
    });
}

CDirectory* CVexa3Doc::FindDirectory(int type) const {
    for (CDirectory* d = first_; d != nullptr; d = d->NextDirectory())
        if (d->Type() == type) return d;
    return nullptr;
}

int CVexa3Doc::DirectoryCount() const {
    int n = 0;
    for (CDirectory* d = first_; d != nullptr; d = d->NextDirectory()) ++n;
    return n;
}

int CVexa3Doc::ArmAddress(int arm) const {
    return arm >= 0 && arm < kMaxArms ? armAddresses_[static_cast<size_t>(arm)] : 0;
}

const AppOptions& CVexa3Doc::Options() const { return options_ ? *options_ : DefaultOptions(); }

// ---- the link

DX3Protocol* CVexa3Doc::GetProtocol() { return link_.Protocol(port_); }

void CVexa3Doc::ReleaseProtocol() { link_.Release(); }

std::optional<std::string> CVexa3Doc::SendCommand(std::string_view command) {
    DX3Protocol* protocol = GetProtocol();
    if (protocol == nullptr) return std::nullopt;
    if (protocol->Send(command) == nullptr) {
        LinkFailed();
        protocol->ReportError(nullptr, MB_OKCANCEL);
        return std::nullopt;
    }
    std::string reply;
    const int status = protocol->Receive(reply);
    if (status == kStatusOk) {
        if (reply.size() >= kReplyBufferSize) reply.resize(kReplyBufferSize - 1);
        return reply;
    }
    if (status == kStatusRejected) {
        const uint32_t code = protocol->LastCode();
        std::string text(kRejectionLead);
        if (code < 10) text += '0';
        return text + std::to_string(code);
    }
    LinkFailed();
    protocol->ReportError(nullptr, MB_OKCANCEL);
    return std::nullopt;
}

void CVexa3Doc::LinkFailed() {
    if (state_ > kStateOffline) SetState(kStateOffline);
}

CVexa3Doc::ConnectionState CVexa3Doc::Connect(bool readOnlyProbe) {
    if (port_ == kPortNone) {
        SetState(kStateNoComm);
        return kStateNoComm;
    }
    writeTest_ = {};
    SetStatusText(kConnectingText);
    // "Attempting to connect..." does not stay up after an attempt that failed.
    auto failed = [this](ConnectionState state) {
        SetStatusText(kClearedText);
        SetState(state);
        return state;
    };
    if (port_ == kPortTcp) {
        if (!link_.OpenTcp(host_, protocolKind_)) return failed(kStateNoComm);
    } else if (!link_.OpenCom(port_, protocolKind_)) {
        return failed(kStateOffline);
    }
    DX3Protocol* protocol = GetProtocol();
    if (port_ != kPortTcp && protocol != nullptr && protocol->ProtocolIndex() != protocolKind_)
        ShowMessage("Protocol settings for this document do not match port configuration\nChoose \"Options|Options "
                    "for this document\" and select the desired protocol");
    if (protocol == nullptr) return failed(kStateOffline);
    protocol->SetAddress(BaseAddress());
    if (protocol->Send(kProbeCommand) == nullptr) return failed(kStateOffline);
    std::string reply;
    const int status = protocol->Receive(reply);
    if (status == kStatusOk) return ProbeAnswered(reply, readOnlyProbe);
    if (status == kStatusRejected) return ProbeRejected();
    return failed(kStateOffline);
}

CVexa3Doc::ConnectionState CVexa3Doc::ProbeAnswered(const std::string& reply, bool readOnlyProbe) {
    if (reply == kProbeCommand) {
        SetStatusText(kClearedText);
        ShowMessage("Response invalid - echo detected. \nCheck wiring, port selection (is port attached to a modem?)");
        SetState(kStateOffline);
        return kStateOffline;
    }
    SetStatusText(kConnectedText);
    if (state_ < kStateReadOnly) {
        const float revision = IdentifyDevice();
        if (revision < 0.0f)
            ShowMessage("Quillset does not recognize the Duravane III revision. \nVerify Quillset is the current "
                        "version (Check Help|About)");
        else if (std::abs(revision - kProgramRevision) > kRevisionTolerance)
            ShowMessage("The Duravane III online is an older revision (Rev " + FormatRevision(revision) +
                        "). \nNot all Rev " + FormatRevision(kProgramRevision) + " program codes may be supported.");
    }
    if (readOnlyProbe) {
        SetState(std::max(state_, kStateReadOnly));
        return kStateReadOnly;
    }
    // Fetched again: while a box was up another document may have reopened the slot. A reply
    // too short to carry the code's digit leaves nothing to write back.
    DX3Protocol* link = GetProtocol();
    if (reply.size() < kWriteTestLength || link == nullptr) {
        SetState(kStateReadOnly);
        return kStateReadOnly;
    }
    std::string test = reply.substr(0, kWriteTestLength);
    test[1] = 'C';
    std::string answer;
    if (link->Send(test) == nullptr) {
        writeTest_.status = link->Port()->Status() != kStatusOk ? link->Port()->Status() : kStatusTransmitError;
    } else {
        writeTest_.status = link->Receive(answer);
        if (writeTest_.status == kStatusRejected) writeTest_.code = link->LastCode();
    }
    const bool accepted = writeTest_.status == kStatusOk;
    SetState(accepted ? kStateOnline : kStateReadOnly);
    return state_;
}

CVexa3Doc::ConnectionState CVexa3Doc::ProbeRejected() {
    const float revision = IdentifyDevice();
    if (revision >= 0.0f) {
        const std::string head =
            "The Quillset recognizes the addressed device as an MMI (Rev " + FormatRevision(revision) + ".) \n";
        if (revision < kFirstSupportedPanel)
            ShowMessage(head + "This MMI revision is not supported by Quillset.");
        else
            ShowMessage(head + "Quillset programming is limited to transmitting driver database information only.");
    } else {
        ShowMessage("Quillset does not recognize the device online. \nVerify Quillset is the current version (Check "
                    "Help|About)");
    }
    SetState(kStateOnline);
    return kStateOnline;
}

float CVexa3Doc::IdentifyDevice() {
    // Until the device says otherwise it is not recognised: a revision known from another
    // device (another address, another link) must not stand for this one's.
    revision_ = -1.0f;
    DX3Protocol* protocol = GetProtocol();
    if (protocol == nullptr) return -1.0f;
    protocol->SetAddress(BaseAddress());
    std::string reply;
    if (protocol->Send("GP") == nullptr || protocol->Receive(reply) != kStatusOk) return -1.0f;
    errno = 0;
    const unsigned long long id = std::strtoull(reply.c_str(), nullptr, 16);
    if (errno == ERANGE || id > UINT32_MAX) return -1.0f;
    const auto match = DeviceIdentification::Identify(static_cast<uint32_t>(id));
    if (!match) return -1.0f;
    deviceKind_ = match->deviceKind;
    revision_ = match->revision;
    if (deviceKind_ == DeviceIdentification::kOperatorPanelKind) config_.activeArms = 0;
    UpdateAllViews();
    return match->revision;
}

bool CVexa3Doc::SendLoCommand() {
    if (port_ == kPortNone) return false;
    if (GetProtocol() == nullptr && Connect(true) <= kStateOffline) return false;
    DX3Protocol* protocol = GetProtocol();
    if (protocol == nullptr) return false;
    protocol->SetAddress(BaseAddress());
    std::string reply;
    const int status = protocol->Send("LO") != nullptr ? protocol->Receive(reply) : kStatusTransmitError;
    if (status != kStatusOk && status != kStatusRejected) LinkFailed();
    return status == kStatusOk;
}

std::string CVexa3Doc::QueryValue(const std::string& command) {
    const std::optional<std::string> reply = SendCommand(command);
    if (!reply || reply->starts_with(kRejectionLead)) return {};
    return ReplyValue(*reply);
}

int CVexa3Doc::CountArmProducts(int arm) {
    if (GetProtocol() == nullptr && Connect(false) <= kStateOffline) return 0;
    if (DX3Protocol* protocol = GetProtocol()) protocol->SetAddress(BaseAddress());
    const int arms = std::clamp(ArmConfiguration::LeadingInteger(QueryValue(CodeCommand(1))), 0, kMaxArms);
    int from = 0, to = arms;
    if (arm >= 0) {
        if (arm >= std::min(arms + config_.flaggedArms, kMaxArms)) return 0;
        from = arm;
        to = arm + 1;
    }
    int products = 0;
    for (int n = from; n < to; ++n) {
        const std::string type = QueryValue(CodeCommand(2 * n + 2));
        if (!type.empty() && type[0] == '0') {
            ++products;
            continue;
        }
        const std::string count = QueryValue(CodeCommand(2 * n + 3));
        if (!count.empty() && count[0] >= '0' && count[0] <= '9') products += count[0] - '0';
    }
    return products;
}

// ---- the document's values

bool CVexa3Doc::ApplyConfiguration(std::vector<std::string>* warnings) {
    CDirectory* config = FindDirectory(CDirectory::kConfig);
    const CParam* armsCode = config ? config->FindParam(1) : nullptr;
    if (armsCode == nullptr) return false;
    int arms = ArmConfiguration::LeadingInteger(armsCode->Value(0));
    if (arms <= 0) {
        arms = 1;
        SetParamValue(CDirectory::kConfig, 1, 0, 1);
    }
    std::vector<std::string> said;
    config_ = ArmConfiguration::Derive(config_, arms, *config, FindDirectory(CDirectory::kArm), armAddresses_, said);
    if (warnings) {
        warnings->insert(warnings->end(), said.begin(), said.end());
    } else {
        for (const std::string& w : said) ShowMessage(w);
    }
    bayAddresses_ = {0, 0};
    return true;
}

bool CVexa3Doc::SetParamValue(int directoryType, int number, int instance, int value) {
    CDirectory* d = FindDirectory(directoryType);
    CParam* p = d ? d->FindParam(number) : nullptr;
    if (p == nullptr) return false;
    std::string text = std::to_string(value);
    if (p->HasOptionList() && value >= 0 && value < p->OptionCount()) text += " " + p->OptionText(value);
    return p->SetValue(text, instance);
}

bool CVexa3Doc::SetParamText(int directoryType, int number, int instance, std::string_view text) {
    CDirectory* d = FindDirectory(directoryType);
    CParam* p = d ? d->FindParam(number) : nullptr;
    return p != nullptr && p->SetValue(text, instance);
}

void CVexa3Doc::ClearValues() {
    std::unordered_set<const CParam*> lists;
    for (CDirectory* d = first_; d != nullptr; d = d->NextDirectory()) {
        for (int i = 0; i < d->SubdirectoryCount(); ++i) {
            const CSubdirectory* s = d->Subdirectory(i);
            if (s->First() == nullptr || !lists.insert(s->First()).second) continue;
            s->ForEachParam([](CParam& p) {
                for (int v = 0; v < p.ValueCount(); ++v) p.SetValue("", v);
                p.SetLevel(CParam::kLevelNone);
            });
        }
    }
}

// ---- whole transfers and printing

bool CVexa3Doc::ReadAllFromDevice(ProgressSink* progress) {
    const bool done = WalkAll([&](CDirectory& d) {
        if (ArmAddress(currentArm_) == 0) {
            if (progress) progress->OffsetPos(d.TotalParams());
            return true;
        }
        return d.ReadFromDevice(progress);
    });
    // The next single command goes to the base address again.
    if (DX3Protocol* protocol = GetProtocol()) protocol->SetAddress(BaseAddress());
    return done;
}

bool CVexa3Doc::WriteAllToDevice(ProgressSink* progress) {
    if (TransferErrorLog* log = Ui().errorLog) log->ClearOwner(ErrorLogOwner());
    const bool done = WalkAll([&](CDirectory& d) {
        if (ArmAddress(currentArm_) == 0) {
            if (progress) progress->OffsetPos(d.TotalParams());
            return true;
        }
        return d.WriteToDevice(progress);
    });
    if (DX3Protocol* protocol = GetProtocol()) protocol->SetAddress(BaseAddress());
    return done;
}

void CVexa3Doc::PrintAll(PrintSheet& sheet) {
    WalkAll([&sheet](CDirectory& d) {
        if (d.CountShown() > 0) d.Print(sheet);
        return true;
    });
}

// ---- the file

void CVexa3Doc::Serialize(ArchiveWriter& out) const {
    CFileHeader::ForDocument(CFileHeader::kMagicProgramData, CFileHeader::kProgramDataDescription).Serialize(out);
    ProgramDataLink link;
    link.port = port_;
    link.baseAddress = armAddresses_[0];
    link.ipv4 = ipv4_;
    for (size_t i = 0; i < link.armAddresses.size(); ++i) link.armAddresses[i] = armAddresses_[i + 1];
    link.protocolKind = protocolKind_;
    link.codePage = codePage_;
    link.title = title_;
    link.description = description_;
    ProgramDataFile::WriteLink(out, link);
    ProgramDataFile::WriteValues(out, first_, armCount_);
}

void CVexa3Doc::Serialize(ArchiveReader& in) {
    CFileHeader header;
    header.LoadExpecting(in, {CFileHeader::kMagicProgramData, CFileHeader::kMagicProgramDataOld});
    // Everything that can refuse the file is read before the document changes.
    const ProgramDataLink link = ProgramDataFile::ReadLink(in, header.Magic());
    if (std::optional<std::string> warning = header.RevisionWarning()) ShowMessage(*warning);

    ChangeLink(link.port, link.protocolKind, link.ipv4);
    armAddresses_[0] = link.baseAddress;
    for (size_t i = 0; i < link.armAddresses.size(); ++i) armAddresses_[i + 1] = link.armAddresses[i];
    codePage_ = link.codePage;
    description_ = link.description;
    ClearValues();
    ProgramDataFile::PlaceValues(in, first_);
}

bool CVexa3Doc::Load(const std::string& path) {
    if (!DocumentFile::Load(path, kMaxFileBytes, Ui(), [this](ArchiveReader& in) { Serialize(in); })) return false;
    modified_ = false;
    UpdateAllViews();
    return true;
}

bool CVexa3Doc::Save(const std::string& path) {
    ArchiveWriter out;
    out.Reserve(savedBytes_);
    Serialize(out);
    savedBytes_ = out.Size();
    if (!DocumentFile::Save(path, out, Ui())) return false;
    modified_ = false;
    if (state_ == kStateOnline) SendLoCommand();
    return true;
}

// ---- settings

void CVexa3Doc::ChangeLink(int port, int protocolKind, uint32_t ipv4) {
    if (port != port_ || protocolKind != protocolKind_ || ipv4 != ipv4_) {
        ReleaseProtocol();
        // The state was that of the old link; the next connection identifies the device anew.
        if (state_ > kStateOffline) SetState(kStateOffline);
    }
    port_ = port;
    protocolKind_ = protocolKind;
    ipv4_ = ipv4;
    host_ = ProgramDataFile::HostText(ipv4_);
}

DocumentLinkFields CVexa3Doc::GetLinkFields() const {
    DocumentLinkFields f;
    f.description = description_;
    f.model = deviceKind_;
    f.port = port_;
    f.protocol = protocolKind_;
    f.baseAddress = armAddresses_[0];
    for (size_t i = 0; i < f.armAddresses.size(); ++i) f.armAddresses[i] = armAddresses_[i + 1];
    f.codePage = codePage_;
    f.ipv4 = ipv4_;
    return f;
}

void CVexa3Doc::SetLinkFields(const DocumentLinkFields& f) {
    SetDescription(f.description);
    const int port = f.port >= kPortTcp && f.port <= ComPortTable::kLastPort ? f.port : port_;
    const int kind = f.protocol == kProtocolTerminal || f.protocol == kProtocolMini ? f.protocol : protocolKind_;
    ChangeLink(port, kind, f.ipv4);
    SetBaseAddress(f.baseAddress);
    for (size_t i = 0; i < f.armAddresses.size(); ++i)
        if (ValidAddress(f.armAddresses[i])) armAddresses_[i + 1] = f.armAddresses[i];
    if (CodePageTable::IsValidIndex(f.codePage)) codePage_ = f.codePage;
    modified_ = true;
}

void CVexa3Doc::SetPortIndex(int port) {
    if (port < kPortNone || port > ComPortTable::kLastPort) return;
    ChangeLink(port, protocolKind_, ipv4_);
}

void CVexa3Doc::SetProtocolKind(int kind) {
    if (kind != kProtocolTerminal && kind != kProtocolMini) return;
    ChangeLink(port_, kind, ipv4_);
}

void CVexa3Doc::SetIpv4(uint32_t ipv4) { ChangeLink(port_, protocolKind_, ipv4); }

void CVexa3Doc::SetBaseAddress(int address) {
    // Arms 2-6 may be switched off with address 0; arm 1 is the device itself.
    if (address != 0) SetArmAddress(0, address);
}

void CVexa3Doc::SetArmAddress(int arm, int address) {
    if (arm >= 0 && arm < kMaxArms && ValidAddress(address)) armAddresses_[static_cast<size_t>(arm)] = address;
}

void CVexa3Doc::SetBayAddress(int bay, int address) {
    if (bay >= 0 && bay < 2 && ValidAddress(address)) bayAddresses_[static_cast<size_t>(bay)] = address;
}

void CVexa3Doc::SetDescription(std::string_view text) {
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    description_ = std::string(text.substr(0, CFileHeader::kMaxTextLength));
}

void CVexa3Doc::SetCurrentArm(int arm) {
    if (arm >= 0 && arm < kMaxArms) currentArm_ = arm;
}

void CVexa3Doc::SetState(ConnectionState state) {
    if (state < kStateNoComm || state > kStateSetup || state == state_) return;
    // "Connected." does not outlive the connection.
    if (state <= kStateOffline && state_ > kStateOffline) SetStatusText(kClearedText);
    state_ = state;
    // A view may remove itself while being told; the list is copied first.
    const std::vector<DocumentObserver*> observers = observers_;
    for (DocumentObserver* o : observers) o->OnStateChanged(*this, state_);
}

// ---- views

void CVexa3Doc::AddObserver(DocumentObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void CVexa3Doc::RemoveObserver(DocumentObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void CVexa3Doc::UpdateAllViews() {
    const std::vector<DocumentObserver*> observers = observers_;
    for (DocumentObserver* o : observers) o->OnDocumentChanged(*this);
}

}  // namespace qs
