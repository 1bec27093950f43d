#include "appmodel/logs/LogDownloader.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "appmodel/logs/BayAssignment.h"
#include "appmodel/logs/LogRecordFormatter.h"
#include "link/MiniProtocol.h"
#include "platform/AtomicFile.h"
#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

namespace {

constexpr int kBayA = 0;
constexpr int kBayB = 1;
// A wait on the services' clock lets the windows run this often.
constexpr int kPauseSliceMs = 10;

int ProgressUpper(int64_t count) { return static_cast<int>(std::min<int64_t>(count, INT_MAX)); }

}  // namespace

LogDownloader::LogDownloader(CVexa3Doc& document, MiniProtocol& link, const UiServices& ui, LogDownloadHooks hooks,
                             LogDownloadLimits limits)
    : doc_(document), link_(link), ui_(ui), hooks_(std::move(hooks)), limits_(limits) {}

LogDownloader::~LogDownloader() = default;

std::string LogDownloader::CreateFaultText(const std::string& path, int error) {
    return "Unable to create " + path + " - " + std::strerror(error);
}

std::string LogDownloader::WriteFaultText(const std::string& path, int error) {
    return "Unable to write " + path + " - " + std::strerror(error);
}

LogDownloadOutcome LogDownloader::Download(LogKind kind) {
    return kind == LogKind::Transaction ? Transactions() : Entries(kind);
}

// ---- the transaction log

LogDownloadOutcome LogDownloader::Transactions() {
    bayTotalsWanted_ = true;
    FindBays();
    const std::vector<Unit> units = Units();
    int64_t total = 0;
    for (const Unit& unit : units) total += unit.count;
    if (total == 0) {
        ui_.Message(TextsOf(LogKind::Transaction).noEntries);
        return LogDownloadOutcome::NoEntries;
    }
    if (std::optional<LogDownloadOutcome> ended = Begin(LogKind::Transaction, total)) return *ended;
    for (const Unit& unit : units) {
        if (unit.count == 0) continue;
        Write(unit.heading + "\n");
        link_.Protocol().SetAddress(unit.address);
        // Counted down by the count, so a log that starts at 0 ends there.
        for (int64_t i = 0; i < unit.count; ++i) {
            const uint32_t number = unit.range.last - static_cast<uint32_t>(i);
            if (!Transaction(number) || !Stepped()) return Finish(true);
        }
        Write("\n");
    }
    return Finish(false);
}

void LogDownloader::FindBays() {
    doc_.SetBayAddress(kBayA, 0);
    doc_.SetBayAddress(kBayB, 0);
    const int bays = std::clamp(doc_.ArmMode(), 0, 2);
    if (bays != 0) {
        const int armsInUse = std::clamp(doc_.ActiveArmCount() + doc_.FlaggedArmCount(), 0, kMaxArms);
        const std::optional<std::string> reply = doc_.SendCommand("BA");
        const std::array<int, 2> found =
            BayAssignment::FromReply(reply.value_or(std::string()), armsInUse, bays, doc_.ArmAddresses());
        doc_.SetBayAddress(kBayA, found[kBayA]);
        doc_.SetBayAddress(kBayB, found[kBayB]);
    }
    // A bay without an arm of its own is asked of arm 1 (bay A) or arm 2 (bay B).
    if (doc_.BayAddresses()[kBayA] == 0) {
        link_.Protocol().SetAddress(doc_.ArmAddress(0));
        static_cast<void>(doc_.SendCommand("MS A"));
    }
    if (doc_.BayAddresses()[kBayB] == 0) {
        link_.Protocol().SetAddress(doc_.ArmAddress(1));
        static_cast<void>(doc_.SendCommand("MS B"));
    }
}

std::vector<LogDownloader::Unit> LogDownloader::Units() {
    std::vector<Unit> units;
    const int bays = std::clamp(doc_.ArmMode(), 0, 2);
    if (bays != 0) {
        for (int b = 0; b < bays; ++b)
            units.push_back({std::string("Transaction data for Bay ") + static_cast<char>('A' + b),
                             doc_.BayAddresses()[static_cast<size_t>(b)], {}, 0});
    } else {
        const int arms = std::clamp(doc_.ActiveArmCount() + doc_.FlaggedArmCount(), 0, kMaxArms);
        for (int a = 0; a < arms; ++a)
            units.push_back({"Transaction data for Arm " + std::to_string(a + 1), doc_.ArmAddress(a), {}, 0});
    }
    for (Unit& unit : units) {
        link_.Protocol().SetAddress(unit.address);
        if (std::optional<LogRange> range = link_.Range(TextsOf(LogKind::Transaction).rangeCode)) {
            unit.range = *range;
            unit.count = range->Count();
        }
    }
    return units;
}

LogReply LogDownloader::AskHeader(uint32_t number, bool& cancelled) {
    LogReply header = link_.Ask(LogLink::PartRequest(number, LogLink::kHeaderPart));
    for (int retry = 0; retry < limits_.busyRetries && header.Rejected() && header.code == kBusyCode; ++retry) {
        Pause(limits_.busyDelayMs);
        if (!progress_->PeekAndPump(true, true) || progress_->Cancelled()) {
            cancelled = true;
            return header;
        }
        header = link_.Ask(LogLink::PartRequest(number, LogLink::kHeaderPart));
    }
    return header;
}

bool LogDownloader::Transaction(uint32_t number) {
    bool cancelled = false;
    const LogReply header = AskHeader(number, cancelled);
    if (cancelled) return false;
    const std::optional<std::string> headLine =
        header.Ok() ? LogRecordFormatter::TransactionHeader(header.Payload()) : std::nullopt;
    if (!headLine) return true;
    std::string line = *headLine;
    const LogReply extra = link_.Ask(LogLink::PartRequest(number, LogLink::kExtraPart));
    if (extra.Ok()) line += LogRecordFormatter::TransactionExtra(extra.Payload()).value_or(std::string());
    Write(line + "\n");

    const int batches = std::min<int>(LogRecordFormatter::BatchCount(header.Payload()), kMaxBatches);
    for (int b = 1; b <= batches; ++b) {
        const LogReply batch = link_.Ask(LogLink::PartRequest(number, static_cast<uint16_t>(b)));
        if (!batch.Ok()) continue;
        if (std::optional<std::string> text = LogRecordFormatter::Batch(batch.Payload())) Write(*text + "\n");
    }
    if (bayTotalsWanted_) {
        const LogReply bay = link_.Ask(LogLink::PartRequest(number, LogLink::kBayTotalsPart));
        // A device without bay totals says so once; it is not asked again in this download.
        if (bay.Rejected()) bayTotalsWanted_ = false;
        else if (bay.Ok())
            if (std::optional<std::string> text = LogRecordFormatter::BayTotals(bay.Payload())) Write(*text + "\n");
    }
    return true;
}

// ---- the event and audit-trail logs

LogDownloadOutcome LogDownloader::Entries(LogKind kind) {
    const LogKindTexts& texts = TextsOf(kind);
    const std::optional<LogRange> range = link_.Range(texts.rangeCode);
    const int64_t count = range ? range->Count() : 0;
    if (count == 0) {
        ui_.Message(texts.noEntries);
        return LogDownloadOutcome::NoEntries;
    }
    if (std::optional<LogDownloadOutcome> ended = Begin(kind, count)) return *ended;
    for (int64_t i = 0; i < count; ++i) {
        const uint32_t sequence = range->last - static_cast<uint32_t>(i);
        const LogReply reply = link_.Ask(LogLink::EntryRequest(texts.entryCode, sequence));
        if (reply.Ok()) {
            const std::optional<std::string> line = kind == LogKind::Event
                                                        ? LogRecordFormatter::EventEntry(sequence, reply.Payload())
                                                        : LogRecordFormatter::AuditEntry(sequence, reply.Payload());
            if (line) Write(*line + "\n");
        }
        if (!Stepped()) return Finish(true);
    }
    return Finish(false);
}

// ---- what every download shares

std::optional<LogDownloadOutcome> LogDownloader::Begin(LogKind kind, int64_t count) {
    const LogKindTexts& texts = TextsOf(kind);
    const LogFileChoice choice{ProposedLogFileName(doc_.Title(), kind), texts.dialogTitle};
    const std::optional<std::string> chosen = hooks_.chooseFile ? hooks_.chooseFile(choice) : std::nullopt;
    if (!chosen || chosen->empty()) return LogDownloadOutcome::NotChosen;
    path_ = LogFileChoice::WithDefaultExtension(*chosen);
    file_ = std::make_unique<AtomicFileWriter>(path_);
    if (!file_->Open()) {
        ui_.Message(CreateFaultText(path_, errno));
        file_.reset();
        return LogDownloadOutcome::FileFault;
    }
    progress_ = ui_.Progress(texts.progressTitle, true);
    progress_->SetText(CountText(kind, count));
    progress_->SetRange(0, ProgressUpper(count), 1);
    return std::nullopt;
}

void LogDownloader::Write(const std::string& text) {
    if (!file_ || writeError_ != 0) return;
    // Lines end with CR LF, as text files on the controller's side of the world do.
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    if (!file_->Write(out.data(), out.size())) writeError_ = errno != 0 ? errno : EIO;
}

bool LogDownloader::Stepped() {
    progress_->StepIt();
    return progress_->PeekAndPump(true, true) && !progress_->Cancelled();
}

LogDownloadOutcome LogDownloader::Finish(bool cancelled) {
    progress_.reset();
    // A cancelled download keeps what it wrote.
    const bool committed = writeError_ == 0 && file_->Commit();
    if (!committed) {
        ui_.Message(WriteFaultText(path_, writeError_ != 0 ? writeError_ : errno));
        file_.reset();
        return LogDownloadOutcome::FileFault;
    }
    file_.reset();
    if (cancelled) return LogDownloadOutcome::Cancelled;
    if (hooks_.openFile) hooks_.openFile(path_);
    return LogDownloadOutcome::Written;
}

void LogDownloader::Pause(int ms) {
    if (hooks_.pause) {
        hooks_.pause(ms);
        return;
    }
    const int64_t until = ui_.Time().NowMs() + ms;
    for (int64_t now = ui_.Time().NowMs(); now < until; now = ui_.Time().NowMs()) {
        ui_.Idle();
        ::poll(nullptr, 0, static_cast<int>(std::min<int64_t>(until - now, kPauseSliceMs)));
    }
}

}  // namespace qs
