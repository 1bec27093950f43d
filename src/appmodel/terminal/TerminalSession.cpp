#include "appmodel/terminal/TerminalSession.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "appmodel/terminal/CannedCommands.h"
#include "appmodel/terminal/StatusFlags.h"
#include "appmodel/terminal/TerminalHost.h"
#include "appmodel/terminal/TerminalText.h"
#include "platform/ProgressSink.h"
#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

namespace {

using Text = TerminalText;

bool IsWhole(std::string_view line, std::string_view keyword) {
    return line.size() == keyword.size() && Text::StartsWith(line, keyword);
}

// The number at the start of the text (after blanks), as far as its digits go; nullopt
// without digits. Large numbers stop at the largest unsigned 32-bit value.
std::optional<uint32_t> LeadingNumber(std::string_view text) {
    text = Text::Trim(text);
    uint64_t value = 0;
    size_t digits = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - '0'), UINT32_MAX);
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

TerminalSession::TerminalSession(CVexa3Doc& doc, const UiServices& ui, TerminalHost& host, ProcessLauncher& launcher,
                                 std::string reportPath)
    : doc_(doc),
      ui_(ui),
      host_(host),
      macroServices_{log_, launcher},
      exchange_(doc, ui, host, log_, std::move(reportPath)) {
    deviceAddress_ = doc_.BaseAddress();
}

TerminalSession::~TerminalSession() {
    closing_ = true;
    EndMacros();
    progress_.reset();
    if (log_.IsOpen()) log_.Close();
    ui_.Status(kReady);
}

// ---- the window

void TerminalSession::FillArms() {
    const std::string selected = armIndex_ >= 0 && armIndex_ < static_cast<int>(armNames_.size())
                                     ? armNames_[static_cast<size_t>(armIndex_)]
                                     : std::string();
    armNames_.clear();
    armNumbers_.clear();
    const int arms = std::clamp(doc_.ArmCount(), 0, CVexa3Doc::kMaxArms);
    for (int arm = 0; arm < arms; ++arm) {
        if (doc_.ArmAddress(arm) == 0) continue;
        armNumbers_.push_back(arm + 1);
        armNames_.push_back("Arm " + std::to_string(arm + 1));
    }
    auto kept = std::find(armNames_.begin(), armNames_.end(), selected);
    armIndex_ = kept != armNames_.end() ? static_cast<int>(kept - armNames_.begin()) : (armNames_.empty() ? -1 : 0);
    host_.ArmsChanged();
}

void TerminalSession::Start() {
    FillArms();
    deviceAddress_ = AddressOfSelectedArm();
}

void TerminalSession::OnUpdate() {
    command_.clear();
    entry_.clear();
    host_.ShowEntry({}, 0);
    FillArms();
    host_.TranscriptChanged();
}

void TerminalSession::SelectArm(int index) {
    if (index >= 0 && index < static_cast<int>(armNames_.size())) armIndex_ = index;
}

int TerminalSession::AddressOfSelectedArm() const {
    if (armIndex_ < 0 || armIndex_ >= static_cast<int>(armNumbers_.size())) return doc_.BaseAddress();
    return doc_.ArmAddress(armNumbers_[static_cast<size_t>(armIndex_)] - 1);
}

void TerminalSession::OnEntryChanged(const std::string& entry) {
    if (entry == command_) return;
    entry_ = entry;
    const size_t end = entry_.find_first_of("\r\n");
    if (end != std::string::npos) {
        entry_.resize(end);
        if (end < 2 || executing_) {
            host_.ShowEntry(entry_, entry_.size());
            return;
        }
        deviceAddress_ = AddressOfSelectedArm();
        host_.ShowEntry({}, 0);
        ExecuteLine(entry_);
        return;
    }
    if (entry_.size() < kUpperCaseBelow) {
        const std::string upper = Upper(entry_);
        entry_ = upper;
        host_.ShowEntry(entry_, entry_.size());
    }
    host_.SetHelpId(CannedCommands::HelpIdForEntry(entry_));
}

void TerminalSession::RunCanned(int id) {
    if (id < CannedCommands::kFirstId || id > CannedCommands::kLastId) return;
    std::string entry = entry_;
    if (std::optional<std::string> text = CannedCommands::TextOf(id)) entry = *text;
    host_.SetHelpId(id - CannedCommands::kHelpOffset);
    host_.ShowEntry(entry, entry.size());
    host_.FocusEntry();
    OnEntryChanged(entry);
}

// ---- one line

void TerminalSession::ExecuteLine(const std::string& line) {
    // A line pumping its progress window may let another event in; it must not start a line
    // of its own (a running macro goes on when this one ends).
    if (executing_ || closing_) return;
    executing_ = true;
    command_ = line;
    entry_.clear();
    Interpret();
    executing_ = false;
    ContinueMacro();
}

void TerminalSession::Interpret() {
    const std::string line = command_;
    if (Text::StartsWith(line, "PLAY")) return Play(std::string_view(line).substr(4));
    if (IsWhole(line, "CLS")) {
        transcript_.Clear();
        host_.TranscriptChanged();
        return;
    }
    if (Text::StartsWith(line, "ECHO") || Text::StartsWith(line, "PROMPT")) {
        const bool prompt = Text::StartsWith(line, "PROMPT");
        command_ = Text::Trim(std::string_view(line).substr(prompt ? 6 : 4));
        reply_.clear();
        if (prompt) ui_.Message(command_);
        AppendLocal();
        return;
    }
    if (Text::StartsWith(line, "ARM")) return Arm(std::string_view(line).substr(3));
    if (Text::StartsWith(line, "ADDRESS")) return Address(std::string_view(line).substr(7));
    if (Text::StartsWith(line, "DELAY")) return Delay(std::string_view(line).substr(5));
    if (Text::StartsWith(line, "WAITFOR")) return WaitFor(std::string_view(line).substr(7));
    if (Text::StartsWith(line, "LOG")) return LogStatement(std::string_view(line).substr(3));
    if (IsWhole(line, "EXIT")) return Exit();
    SendToDevice();
}

void TerminalSession::Arm(std::string_view rest) {
    const std::optional<uint32_t> n = LeadingNumber(rest);
    if (!n || *n > static_cast<uint32_t>(CVexa3Doc::kMaxArms)) {
        reply_ = kArmOutOfRange;
        AppendLocal();
        return;
    }
    const int arm = static_cast<int>(*n);
    reply_ = "Switched to arm " + std::to_string(arm) + " ";
    if (arm == 0) {
        deviceAddress_ = doc_.BaseAddress();
    } else {
        deviceAddress_ = doc_.ArmAddress(arm - 1);
        auto named = std::find(armNames_.begin(), armNames_.end(), "Arm " + std::to_string(arm));
        if (named != armNames_.end()) {
            armIndex_ = static_cast<int>(named - armNames_.begin());
            host_.ArmsChanged();
        }
    }
    AppendLocal();
}

void TerminalSession::Address(std::string_view rest) {
    const std::optional<uint32_t> n = LeadingNumber(rest);
    if (!n || *n > 99) {
        reply_ = kAddressOutOfRange;
        AppendLocal();
        return;
    }
    deviceAddress_ = static_cast<int>(*n);
    reply_ = "Switched to address " + std::to_string(deviceAddress_) + " ";
    AppendLocal();
}

void TerminalSession::Delay(std::string_view rest) {
    const uint32_t seconds = LeadingNumber(rest).value_or(0);
    reply_ = "Delaying " + std::to_string(seconds) + " secs";
    AppendLocal();
    ProgressSink& progress = Progress(kDelayTitle, false);
    progress.SetText(reply_);
    const Clock& clock = ui_.Time();
    const int64_t end = clock.NowMs() + static_cast<int64_t>(seconds) * 1000;
    for (int64_t now = clock.NowMs(); now < end; now = clock.NowMs()) {
        if (!progress.PeekAndPump(true, true)) break;
        host_.Pause(static_cast<int>(std::min<int64_t>(end - now, kDelaySliceMs)));
    }
    progress.SetText({});
}

void TerminalSession::WaitFor(std::string_view rest) {
    reply_.clear();
    AppendLocal();
    std::string_view text = Text::Trim(rest);
    const bool waitForSet = text.empty() || text.front() != '!';
    if (!waitForSet) text = Text::Trim(text.substr(1));
    const std::optional<StatusFlag> flag = StatusFlags::Find(text);
    if (!flag) {
        ui_.Message(kUnknownFlag);
        return;
    }
    command_ = "EQ";
    ProgressSink& progress = Progress(kWaitTitle, true);
    const std::string_view note = Text::Trim(text.substr(2));
    if (!note.empty()) {
        progress.SetText(std::string(note));
        host_.Beep();
    } else {
        progress.SetText(std::string("Waiting for ") + flag->name + " flag " + (waitForSet ? "" : "to Clear"));
    }
    for (;;) {
        const TerminalExchange::Outcome outcome = exchange_.Send(command_, deviceAddress_, MacroRunning());
        // One failure of the link ends the wait; a rejected or short status says nothing.
        if (outcome == TerminalExchange::Outcome::kFailed) break;
        const std::string& status = exchange_.Reply();
        if (outcome == TerminalExchange::Outcome::kAnswered && flag->Readable(status) &&
            flag->IsSetIn(status) == waitForSet)
            break;
        if (!progress.PeekAndPump(true, true)) break;
        host_.Pause(kPollMs);
    }
    progress.SetText({});
}

void TerminalSession::LogStatement(std::string_view rest) {
    if (log_.IsOpen()) {
        log_.Close();
        ui_.Status(kReady);
    } else if (log_.Open(rest) == 1) {
        ui_.Status(kLogging);
    } else {
        ui_.Message(kNoLogName);
    }
}

void TerminalSession::Exit() {
    closing_ = true;
    EndMacros();
    progress_.reset();
    host_.CloseTerminal();
}

void TerminalSession::SendToDevice() {
    const TerminalExchange::Outcome outcome = exchange_.Send(command_, deviceAddress_, MacroRunning());
    reply_ = exchange_.Reply();
    if (outcome != TerminalExchange::Outcome::kFailed || !reply_.empty()) AppendDevice();
}

// ---- macros

void TerminalSession::Play(std::string_view rest) {
    std::string file(Text::Trim(rest));
    if (file.empty()) {
        std::optional<std::string> chosen = host_.ChooseMacroFile();
        if (!chosen || chosen->empty()) return;
        file = *chosen;
    }
    if (!MacroRunning() && log_.IsOpen() && ui_.Message(kCloseLogFirst, MB_YESNO) == IDYES) log_.Close();
    reply_.clear();
    AppendLocal();
    if (macros_.size() >= static_cast<size_t>(kMaxDepth)) {
        ui_.Message("Error executing " + file + "... " + CMacro::ErrorText(CMacro::kMacroRunning));
        return;
    }
    if (MacroRunning()) ++depth_;
    auto macro = std::make_unique<CMacro>(file, macros_.empty() ? nullptr : macros_.back().get(), macroServices_);
    if (macro->Error() != CMacro::kNoError) {
        ui_.Message("Error executing " + file + "... " + macro->GetErrorText());
        depth_ = std::max(depth_ - 1, 0);
    } else {
        macros_.push_back(std::move(macro));
    }
    Progress(kMacroTitle, false);
    ui_.Status(kRunningMacro);
}

void TerminalSession::NextLineOfChain() {
    pending_ = macros_.back()->GetNextLine();
    while (!macros_.empty() && macros_.back()->GetState() == CMacro::kFinished) {
        const CMacro& done = *macros_.back();
        // The end of the file is the normal end; anything else is said, or the user would
        // take a macro that stopped half-way for one that ran.
        if (done.Error() != CMacro::kEndOfFile)
            ui_.Message("Error executing " + done.Name() + "... " + done.GetErrorText());
        macros_.pop_back();
        depth_ = std::max(depth_ - 1, 0);
        pending_.reset();
        if (!macros_.empty()) pending_ = macros_.back()->GetNextLine();
    }
}

void TerminalSession::ContinueMacro() {
    if (closing_) return;
    if (MacroRunning()) NextLineOfChain();
    if (progress_) {
        const bool cancelled = !progress_->PeekAndPump(true, true) || progress_->Cancelled();
        if (cancelled) {
            EndMacros();
            entry_.clear();
            command_.clear();
        }
        if (!MacroRunning()) {
            ui_.Status(cancelled ? kMacroAborted : kMacroComplete);
            progress_.reset();
        }
    }
    if (MacroRunning()) host_.PostNextLine();
}

void TerminalSession::RunPostedLine() {
    if (executing_ || closing_ || !MacroRunning()) return;
    if (!pending_) {
        // The step before sent nothing (a LOG that could not open its file): on to the next.
        ContinueMacro();
        return;
    }
    const std::string line = std::move(*pending_);
    pending_.reset();
    ExecuteLine(line);
}

void TerminalSession::EndMacros() {
    while (!macros_.empty()) macros_.pop_back();
    pending_.reset();
    depth_ = 0;
}

// ---- transcript

void TerminalSession::AppendLocal() { Append(TerminalTranscript::LocalLine(depth_, command_, reply_)); }

void TerminalSession::AppendDevice() {
    Append(TerminalTranscript::DeviceLine(depth_, deviceAddress_, command_, reply_));
}

void TerminalSession::Append(const std::string& line) {
    transcript_.Append(line);
    log_.Write(line);
    host_.TranscriptChanged();
}

ProgressSink& TerminalSession::Progress(const char* title, bool smooth) {
    if (!progress_) progress_ = ui_.Progress(title, smooth);
    return *progress_;
}

}  // namespace qs
