#include "appmodel/programdata/ParamEditFlow.h"

#include <algorithm>
#include <cstdio>

#include "link/ComProtocol.h"
#include "link/DX3Protocol.h"
#include "platform/UiServices.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "programdata/CSubdirectory.h"
#include "programdata/CVexa3Doc.h"
#include "appmodel/programdata/ParamValueCheck.h"

namespace qs {

namespace {

// The level lock switches: their own level is fixed.
constexpr int kFirstLockSwitch = 156;
constexpr int kLastLockSwitch = 158;
// The rejection that leaves the link as it is: the device only found the value out of range.
constexpr uint32_t kValueOutOfRange = 3;
// An arm beyond the active ones lists these codes of its subdirectory 1 (its enable codes).
constexpr int kInactiveArmSubdirectory = 1;
constexpr int kFirstInactiveArmRow = 6;
constexpr int kLastInactiveArmRow = 7;

std::string Number(int number, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", digits, number);
    return text;
}

std::string CodeCommand(const char* verb, const std::string& mnemonic, int number, const std::string& value) {
    return std::string(verb) + " " + mnemonic + " " + Number(number, 3) + " " + value;
}

bool IsNormalisedNumber(const CParam& p) { return p.dataType != CParam::kTypeText && !p.HasOptionList(); }

}  // namespace

ParamEditFlow::ParamEditFlow(CVexa3Doc& document, const UiServices& ui) : doc_(document), ui_(ui) {}

ParamDialogKind ParamEditFlow::ChooseDialog(int directoryType, int number) {
    if (directoryType == CDirectory::kSystem) {
        if (number >= 602 && number <= 681) return ParamDialogKind::AlarmBits;
        if (number >= 812 && number <= 881 && number % 3 == 2) return ParamDialogKind::MeterBits;
        if (number == 98) return ParamDialogKind::AdditiveBits;
        if (number == 735 || number == 736 || number == 737 || number == 780) return ParamDialogKind::IpAddress;
    } else if (directoryType == CDirectory::kRecipe) {
        if (number >= 19 && number <= 88 && number % 3 == 1) return ParamDialogKind::ProductBits;
    }
    return ParamDialogKind::General;
}

bool ParamEditFlow::LevelLocked(const ParamEditTarget& target) {
    if (target.subdirectory == nullptr || target.param == nullptr) return true;
    const CDirectory* d = target.subdirectory->Owner();
    const int number = target.param->number;
    if (d->Type() == CDirectory::kSystem && number >= kFirstLockSwitch && number <= kLastLockSwitch) return true;
    // The level belongs to the code, not to an instance: only the first instance sets it.
    if (d->Type() == CDirectory::kRecipe) {
        if (target.subdirectory->Id() != 0) return true;
    } else if (d->InstanceCount() != 0 && d->CurrentInstance() != 0) {
        return true;
    }
    return d->PerArm() && target.arm != 0;
}

bool ParamEditFlow::IsValid(const ParamEditTarget& target) const {
    if (target.subdirectory == nullptr || target.param == nullptr) return false;
    if (target.arm < 0 || target.arm >= CVexa3Doc::kMaxArms) return false;
    const CDirectory* d = target.subdirectory->Owner();
    if (d == nullptr || d->Context() != &doc_) return false;
    if (target.subdirectory->FindParam(target.param->number) != target.param) return false;
    // Only what the list shows is edited: on an arm beyond the active ones, its enable codes.
    if (d->Type() == CDirectory::kArm && target.arm >= doc_.ActiveArmCount()) {
        const auto listed = ListedCodes(*target.subdirectory, target.arm, doc_.ActiveArmCount());
        if (std::find(listed.begin(), listed.end(), target.param) == listed.end()) return false;
    }
    const int index = target.subdirectory->ValueIndex(target.arm);
    return index >= 0 && index < target.param->ValueCount();
}

ParamEditRequest ParamEditFlow::MakeRequest(const ParamEditTarget& target) const {
    ParamEditRequest r;
    if (!IsValid(target)) return r;
    const CSubdirectory& s = *target.subdirectory;
    const CDirectory& d = *s.Owner();
    const CParam& p = *target.param;
    const int index = s.ValueIndex(target.arm);

    r.kind = ChooseDialog(d.Type(), p.number);
    // The name begins with the number (two digits in recipes, three elsewhere) and a blank.
    const size_t digits = d.Type() == CDirectory::kRecipe ? 2 : 3;
    const std::string name = p.Name();
    r.caption = d.GetInstanceName(s.DirectoryInstance()) + " " + Number(p.number, static_cast<int>(digits)) + " - " +
                (name.size() > digits + 1 ? name.substr(digits + 1) : std::string());
    r.valueText = p.Value(index);
    r.displayText = p.FormatValue(index);
    r.helpText = p.Help();
    r.promptText = p.GetPromptText();
    r.level = ParamEditRequest::LevelIndex(p.Level());
    r.levelLocked = LevelLocked(target);
    r.helpId = d.Type() * 1000 + p.number + 10000;
    r.codePage = doc_.CodePage();
    r.valueFont = p.dataType == CParam::kTypeText;
    r.param = &p;
    r.ui = &ui_;
    r.newValue = r.displayText;
    r.newLevel = r.levelLocked ? -1 : r.level;
    return r;
}

ParamEditFlow::Outcome ParamEditFlow::Edit(const ParamEditTarget& target, const DialogRunner& runDialog) {
    if (!IsValid(target)) return Outcome::NotEditable;
    if (target.param->IsReadOnly()) {
        ui_.Message(kReadOnlyMessage);
        return Outcome::ReadOnly;
    }
    ParamEditRequest request = MakeRequest(target);
    if (!runDialog || !runDialog(request)) return Outcome::Cancelled;
    return Apply(target, request);
}

ParamEditFlow::Outcome ParamEditFlow::Apply(const ParamEditTarget& target, const ParamEditRequest& accepted) {
    if (!IsValid(target)) return Outcome::NotEditable;
    CParam& p = *target.param;
    if (p.IsReadOnly()) return Outcome::ReadOnly;
    if (ParamValueCheck::HasControlCharacters(accepted.newValue)) {
        ui_.Message(ParamValueCheck::kControlCharacterMessage, MB_OK | MB_ICONEXCLAMATION);
        return Outcome::Refused;
    }
    const int index = target.subdirectory->ValueIndex(target.arm);
    const std::string oldValue = p.Value(index);
    const uint8_t oldLevel = p.Level();

    Outcome outcome;
    if (doc_.State() < CVexa3Doc::kStateReadOnly) {
        StoreOffline(target, accepted, index);
        outcome = Outcome::Stored;
    } else {
        outcome = WriteOnline(target, accepted, index);
    }
    if (p.Value(index) != oldValue || p.Level() != oldLevel) {
        doc_.SetModified();
        doc_.UpdateAllViews();
    }
    return outcome;
}

namespace {

// The level a result may set: one from the list, on a code whose level is not locked, at its
// first instance. Anything else leaves the level as it is.
int LevelToSet(const ParamEditTarget& target, const ParamEditRequest& accepted, int index) {
    if (index != 0 || ParamEditFlow::LevelLocked(target)) return -1;
    if (accepted.newLevel < 0 || accepted.newLevel >= ParamEditRequest::kLevelChoices) return -1;
    return accepted.newLevel;
}

}  // namespace

void ParamEditFlow::StoreOffline(const ParamEditTarget& target, const ParamEditRequest& accepted, int index) {
    CParam& p = *target.param;
    p.SetValue(accepted.newValue, index);
    // Numbers are kept as the code's format writes them.
    if (IsNormalisedNumber(p)) p.SetValue(p.FormatValue(index), index);
    if (const int level = LevelToSet(target, accepted, index); level >= 0) p.SetLevel(static_cast<uint8_t>(level));
}

DX3Protocol* ParamEditFlow::LinkForWrite() {
    if (DX3Protocol* protocol = doc_.GetProtocol()) {
        // Also notices a device that closed the connection while the link lay idle.
        protocol->Port()->PurgeInput();
        if (protocol->Port()->State() >= kStateOpen) return protocol;
    }
    // The link went (the port was lent to an emulator, the settings changed, or the device
    // closed the connection): connect again, reading only; the write itself tells whether the
    // device takes it.
    if (doc_.Connect(true) < CVexa3Doc::kStateReadOnly) return nullptr;
    return doc_.GetProtocol();
}

ParamEditFlow::Outcome ParamEditFlow::WriteOnline(const ParamEditTarget& target, const ParamEditRequest& accepted,
                                                  int index) {
    if (doc_.Options().ConfirmWrites && ui_.Message(kConfirmMessage, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return Outcome::Cancelled;
    // Taken after the box: another document may have reopened a shared port meanwhile.
    DX3Protocol* protocol = LinkForWrite();
    if (protocol == nullptr) {
        ui_.Message(kNotRespondingMessage);
        return Outcome::NotResponding;
    }

    CParam& p = *target.param;
    const CDirectory& d = *target.subdirectory->Owner();
    const int instance = target.subdirectory->DirectoryInstance();
    const std::string oldValue = p.Value(index);
    p.SetValue(accepted.newValue, index);
    const std::string formatted = p.FormatValue(index);
    protocol->SetAddress(doc_.ArmAddress(target.arm));

    std::string reply;
    // A command that did not go out is reported like a failed reply (the port says why).
    constexpr int kNotSent = -1;
    const bool sent = protocol->Send(CodeCommand("PC", d.GetMnemonic(instance), p.number, formatted)) != nullptr;
    const int status = sent ? protocol->Receive(reply) : kNotSent;

    Outcome outcome = Outcome::Written;
    if (status == kStatusOk) {
        // The device answers with the value as it took it; a reply too short to carry it
        // leaves the value that was sent.
        const std::string echo = ReplyValue(reply);
        if (!echo.empty() && !ParamValueCheck::HasControlCharacters(echo)) p.SetValue(echo, index);
        else if (IsNormalisedNumber(p)) p.SetValue(formatted, index);
        if (doc_.State() < CVexa3Doc::kStateOnline) doc_.SetState(CVexa3Doc::kStateOnline);
        if (const int level = LevelToSet(target, accepted, index); level >= 0 && level != p.Level())
            WriteLevel(*protocol, target, level);
    } else if (status == kStatusRejected) {
        const uint32_t code = protocol->LastCode();
        const std::string instanceName = d.GetInstanceName(instance);
        std::string prefix = "Unable to set ";
        if (d.PerArm() && d.Type() != CDirectory::kArm) prefix += "Arm " + std::to_string(target.arm + 1) + " ";
        prefix += instanceName + " " + p.Name() + " to " + formatted + " \n";
        p.SetValue(oldValue, index);
        protocol->ReportError(prefix.c_str(), MB_OKCANCEL);
        if (code != kValueOutOfRange) doc_.SetState(CVexa3Doc::kStateReadOnly);
        outcome = Outcome::Rejected;
    } else {
        p.SetValue(oldValue, index);
        doc_.LinkFailed();
        protocol->ReportError(nullptr, MB_OKCANCEL);
        outcome = Outcome::Failed;
    }
    // The next single command goes to the base address again.
    if (DX3Protocol* link = doc_.GetProtocol()) link->SetAddress(doc_.BaseAddress());
    return outcome;
}

void ParamEditFlow::WriteLevel(DX3Protocol& protocol, const ParamEditTarget& target, int level) {
    CParam& p = *target.param;
    const CDirectory& d = *target.subdirectory->Owner();
    const int instance = target.subdirectory->DirectoryInstance();
    std::string reply;
    const bool sent =
        protocol.Send(CodeCommand("XC", d.GetMnemonic(instance), p.number, std::to_string(level + 1))) != nullptr;
    const int status = sent ? protocol.Receive(reply) : kStatusTransmitError;
    if (status == kStatusOk) {
        p.SetLevel(static_cast<uint8_t>(level));
        return;
    }
    if (status != kStatusRejected) doc_.LinkFailed();
    const std::string prefix = "Unable to set security level " + std::to_string(level + 1) + " for " +
                               d.GetInstanceName(instance) + " " + p.Name() + "\n";
    protocol.ReportError(prefix.c_str(), MB_OKCANCEL);
}

std::vector<CParam*> ParamEditFlow::ListedCodes(const CSubdirectory& shown, int arm, int activeArms) {
    std::vector<CParam*> out;
    const CDirectory* d = shown.Owner();
    const bool inactiveArm = d->Type() == CDirectory::kArm && activeArms >= 1 && activeArms <= arm;
    if (!inactiveArm) {
        shown.ForEachParam([&out](CParam& p) { out.push_back(&p); });
        return out;
    }
    if (shown.Id() != kInactiveArmSubdirectory) return out;
    int row = 0;
    shown.ForEachParam([&](CParam& p) {
        if (row >= kFirstInactiveArmRow && row <= kLastInactiveArmRow) out.push_back(&p);
        ++row;
    });
    return out;
}

}  // namespace qs
