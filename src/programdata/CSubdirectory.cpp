#include "programdata/CSubdirectory.h"

#include <algorithm>
#include <optional>

#include <cstdio>
#include <cstdlib>

#include "link/DX3Protocol.h"
#include "platform/Prompt.h"
#include "platform/UiServices.h"
#include "programdata/CDirectory.h"
#include "programdata/CodeExchange.h"
#include "platform/PrintSheet.h"
#include "programdata/ProgramDataContext.h"

namespace qs {

namespace {

// "PV SY 023": the command, the mnemonic and the number in at least three digits.
std::string CodeCommand(const char* verb, const std::string& mnemonic, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", number);
    return std::string(verb) + " " + mnemonic + " " + digits;
}

// A recipe is unused when its first code holds nothing or a number that is 0.
bool IsUnusedRecipeValue(const std::string& value) {
    const char* s = value.c_str();
    while (*s == ' ') ++s;
    if (*s == '\0') return true;
    char* end = nullptr;
    const long n = std::strtol(s, &end, 10);
    return end != s && n == 0;
}

// Steps the bar with the text of the code just exchanged (built only when there is a bar);
// false once the user cancelled.
template <class MakeText>
bool Step(ProgressSink* progress, MakeText&& text) {
    if (progress == nullptr) return true;
    progress->SetText(text());
    progress->StepIt();
    return progress->PeekAndPump(true, true);
}

std::string Padded(const std::string& text, size_t width) {
    std::string out = text.substr(0, width);
    out.resize(width, ' ');
    return out;
}

}  // namespace

CSubdirectory::CSubdirectory(CDirectory* owner, int index, std::string name)
    : CDirBase(kSubdirectoryNode, index, std::move(name)), owner_(owner) {}

void CSubdirectory::SetCodes(CParam* first, int count) {
    first_ = first;
    paramCount_ = first ? count : 0;
    byNumber_.clear();
    byNumber_.reserve(static_cast<size_t>(paramCount_));
    ForEachParam([&](CParam& p) { byNumber_.emplace_back(p.number, &p); });
    std::stable_sort(byNumber_.begin(), byNumber_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

CParam* CSubdirectory::FindParam(int number) const {
    const auto it = std::lower_bound(byNumber_.begin(), byNumber_.end(), number,
                                     [](const auto& entry, int n) { return entry.first < n; });
    return it != byNumber_.end() && it->first == number ? it->second : nullptr;
}

int CSubdirectory::DirectoryInstance() const {
    return owner_->InstancesAsSubdirectories() ? id_ : owner_->CurrentInstance();
}

int CSubdirectory::ValueIndex(int arm) const {
    int instance = DirectoryInstance();
    if (arm > 0 && owner_->PerArm() && owner_->Type() != CDirectory::kArm) instance += arm * owner_->InstanceCount();
    return instance;
}

int CSubdirectory::CurrentArm() const {
    const ProgramDataContext* ctx = owner_->Context();
    return ctx ? ctx->CurrentArm() : 0;
}

std::string CSubdirectory::TransferText(const char* verb, const std::string& command, const std::string& reply) const {
    const std::string tail = "\n    " + command + "\n    " + reply;
    if (owner_->Type() == CDirectory::kRecipe) return std::string(verb) + " " + name_ + " ..." + tail;
    const std::string instanceName = owner_->GetInstanceName(DirectoryInstance());
    if (owner_->PerArm())
        return std::string(verb) + " Arm " + std::to_string(CurrentArm() + 1) + " " + instanceName + " " + name_ +
               " Directory..." + tail;
    return std::string(verb) + " " + instanceName + " " + name_ + " Directory..." + tail;
}

std::optional<CSubdirectory::Walk> CSubdirectory::BeginWalk() const {
    ProgramDataContext* ctx = owner_->Context();
    DX3Protocol* protocol = ctx ? ctx->Protocol() : nullptr;
    if (protocol == nullptr) return std::nullopt;
    const int arm = ctx->CurrentArm();
    if (arm < 0 || arm >= CDirectory::kMaxArms) return std::nullopt;
    // Every command of the walk goes to the device of the arm being transferred.
    protocol->SetAddress(ctx->ArmAddress(arm));
    return Walk{ctx, protocol, arm, ValueIndex(arm), owner_->GetMnemonic(DirectoryInstance()),
                owner_->GetInstanceName(DirectoryInstance())};
}

CodeExchange::Result CSubdirectory::Walk::Exchange(const std::string& command, const std::string& name) const {
    CodeExchange::Result r = CodeExchange::Run(*protocol, command, name);
    if (r.outcome != CodeExchange::Outcome::Reply && r.outcome != CodeExchange::Outcome::Rejected) ctx->LinkFailed();
    return r;
}

bool CSubdirectory::ReadFromDevice(ProgressSink* progress) {
    auto walk = BeginWalk();
    if (!walk) return false;
    ProgramDataContext* ctx = walk->ctx;
    DX3Protocol* protocol = walk->protocol;
    const int arm = walk->arm;
    const int instance = walk->instance;
    const std::string& mnemonic = walk->mnemonic;
    const std::string& instanceName = walk->instanceName;

    bool stopped = false;
    ForEachParam([&](CParam& p) {
        if (stopped) return;
        const std::string name = p.Name();
        const std::string command = CodeCommand("PV", mnemonic, p.number);
        const auto r = walk->Exchange(command, name);
        switch (r.outcome) {
        case CodeExchange::Outcome::Reply: p.SetValue(ReplyValue(r.reply), instance); break;
        case CodeExchange::Outcome::Rejected: {
            p.SetValue("", instance);
            const std::string text = protocol->GetErrorText();
            AddTransferError(ctx->ErrorLogOwner(),
                             owner_->PerArm() ? "Unable to read Arm " + std::to_string(arm + 1) + " " + instanceName +
                                                    " " + name + " : " + text
                                              : "Unable to read " + instanceName + " " + name + "  : " + text);
            break;
        }
        case CodeExchange::Outcome::Ignored: p.SetValue("", instance); break;
        case CodeExchange::Outcome::SendFailed:
            p.SetValue("", instance);
            // Only OK goes on: Cancel (or a box that could offer no choice) ends the walk
            // rather than asking again for every code that follows.
            if (r.answer != IDOK) stopped = true;
            break;
        case CodeExchange::Outcome::Stop: stopped = true; break;
        }
        if (stopped) return;
        if (!Step(progress, [&] { return TransferText("Reading", command, r.reply); })) {
            stopped = true;
            return;
        }
        if (instance != 0 || r.outcome == CodeExchange::Outcome::SendFailed) return;

        const std::string levelCommand = CodeCommand("XV", mnemonic, p.number);
        const auto level = walk->Exchange(levelCommand, name);
        switch (level.outcome) {
        case CodeExchange::Outcome::Reply: p.ApplyLevelValue(ReplyValue(level.reply)); break;
        case CodeExchange::Outcome::Rejected:
        case CodeExchange::Outcome::Ignored: break;
        case CodeExchange::Outcome::SendFailed:
        case CodeExchange::Outcome::Stop: stopped = true; break;
        }
    });
    return !stopped;
}

bool CSubdirectory::WriteToDevice(ProgressSink* progress) {
    auto walk = BeginWalk();
    if (!walk) return false;
    ProgramDataContext* ctx = walk->ctx;
    DX3Protocol* protocol = walk->protocol;
    const int arm = walk->arm;
    const int instance = walk->instance;
    const std::string& mnemonic = walk->mnemonic;
    const std::string& instanceName = walk->instanceName;
    const int type = owner_->Type();
    const bool inactiveArm = arm >= ctx->ActiveArmCount();

    bool stopped = false;
    ForEachParam([&](CParam& p) {
        if (stopped) return;
        // An arm beyond those in use gets only its enable codes; its meters and products nothing.
        const bool skipped = inactiveArm && ((type == CDirectory::kArm && p.number != 107 && p.number != 108) ||
                                             type == CDirectory::kMeter || type == CDirectory::kProduct);
        const std::string name = p.Name();
        std::string command, reply;

        const bool levelLocked = type == CDirectory::kSystem && p.number >= 156 && p.number <= 158;
        if (!skipped && p.Level() != CParam::kLevelNone && !p.IsReadOnly() && instance == 0 && !levelLocked) {
            command = CodeCommand("XC", mnemonic, p.number) + " " + std::to_string(p.Level() + 1);
            const auto r = walk->Exchange(command, name);
            reply = r.reply;
            if (r.outcome == CodeExchange::Outcome::SendFailed || r.outcome == CodeExchange::Outcome::Stop) {
                stopped = true;
                return;
            }
            if (r.outcome == CodeExchange::Outcome::Rejected)
                AddTransferError(ctx->ErrorLogOwner(), "Could Not Set Security Level for " + instanceName + " " + name +
                                                           " : " + protocol->GetErrorText());
        }

        const std::string value = p.FormatValue(instance);
        if (!skipped && !value.empty() && !p.IsReadOnly()) {
            command = CodeCommand("PC", mnemonic, p.number) + " " + value;
            const auto r = walk->Exchange(command, name);
            reply = r.reply;
            if (r.outcome == CodeExchange::Outcome::SendFailed || r.outcome == CodeExchange::Outcome::Stop) {
                stopped = true;
                return;
            }
            if (r.outcome == CodeExchange::Outcome::Rejected) {
                const std::string text = protocol->GetErrorText();
                AddTransferError(ctx->ErrorLogOwner(),
                                 owner_->PerArm() ? "Unable to Program Arm " + std::to_string(arm + 1) + " " +
                                                        instanceName + " " + name + " to " + value + " : " + text
                                                  : "Unable to Program " + instanceName + " " + name + " to " + value +
                                                        " : " + text);
            }
        }
        if (!Step(progress, [&] { return TransferText("Downloading", command, reply); })) stopped = true;
    });
    return !stopped;
}

int CSubdirectory::CountShown(const ShownFilter& filter) const {
    if (first_ == nullptr || paramCount_ == 0) return 0;
    if (owner_->Type() == CDirectory::kRecipe && filter.hideUnusedRecipes &&
        IsUnusedRecipeValue(first_->Value(ValueIndex(CurrentArm()))))
        return 0;
    if (filter.minLevel == 0) return paramCount_;
    int n = 0;
    ForEachParam([&](const CParam& p) {
        if (static_cast<int8_t>(p.Level()) >= filter.minLevel) ++n;
    });
    return n;
}

int CSubdirectory::CountShown() const { return CountShown(ShownFilter::FromOptions(owner_->Options())); }

void CSubdirectory::Print(PrintSheet& sheet, const AppOptions& options) const {
    const ShownFilter filter = ShownFilter::FromOptions(options);
    if (CountShown(filter) == 0) return;
    const int arm = CurrentArm();
    const int instance = ValueIndex(arm);
    const std::string instanceName = owner_->GetInstanceName(DirectoryInstance());
    std::string title;
    if (owner_->Type() == CDirectory::kRecipe) title = name_;
    else if (owner_->PerArm()) title = "Arm " + std::to_string(arm + 1) + " " + instanceName + " " + name_ + " Directory";
    else title = instanceName + " " + name_ + " Directory";
    sheet.BreakIfPast(50);
    sheet.AddLine(title);

    ForEachParam([&](const CParam& p) {
        if (filter.minLevel != 0 && static_cast<int8_t>(p.Level()) < filter.minLevel) return;
        const std::string value = p.HasOptionList() ? p.Value(instance) : p.FormatValue(instance);
        std::string line = Padded(p.Name(), 40) + " " + Padded(value, 32);
        if (options.PrintShowSecLvl)
            line += p.Level() == CParam::kLevelNone ? "    N/A" : "    " + std::to_string(p.Level() + 1);
        sheet.BreakIfPast(55);
        sheet.AddLine(line);
    });
    sheet.Skip(1);
}

void CSubdirectory::Print(PrintSheet& sheet) const { Print(sheet, owner_->Options()); }

}  // namespace qs
