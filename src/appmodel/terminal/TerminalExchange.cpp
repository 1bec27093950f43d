#include "appmodel/terminal/TerminalExchange.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "appmodel/programdata/DeviceCommands.h"
#include "appmodel/terminal/TerminalHost.h"
#include "appmodel/terminal/TerminalLog.h"
#include "link/DX3Protocol.h"
#include "platform/AtomicFile.h"
#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

namespace {

// The busy cursor for a scope.
class Busy {
public:
    explicit Busy(TerminalHost& host) : host_(host) { host_.SetBusy(true); }
    ~Busy() { host_.SetBusy(false); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    TerminalHost& host_;
};

std::string RejectionText(const DX3Protocol& protocol) {
    std::string code = std::to_string(protocol.LastCode());
    if (code.size() < 2) code.insert(0, "0");
    return "NO" + code + " - " + protocol.GetErrorText();
}

std::string Absolute(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : full.string();
}

}  // namespace

TerminalExchange::TerminalExchange(CVexa3Doc& doc, const UiServices& ui, TerminalHost& host, TerminalLog& log,
                                   std::string reportPath)
    : doc_(doc), ui_(ui), host_(host), log_(log), reportPath_(std::move(reportPath)) {}

TerminalExchange::Outcome TerminalExchange::Send(const std::string& command, int address, bool quiet) {
    reply_.clear();
    DX3Protocol* protocol = doc_.GetProtocol();
    if (!protocol) {
        ui_.Message(kNotConfigured);
        return Outcome::kFailed;
    }
    // Such a command would break its frame; the device would read what follows as another.
    if (command.size() > kMaxCommand) {
        reply_ = kTooLong;
        return Outcome::kFailed;
    }
    if (command.find_first_of(std::string_view("\x02\x03\r\n", 4)) != std::string::npos) {
        reply_ = kBadCharacters;
        return Outcome::kFailed;
    }
    DeviceCommands::CommandScope scope;
    if (!scope.Entered()) {
        reply_ = kOtherCommand;
        return Outcome::kFailed;
    }

    Busy busy(host_);
    protocol->SetAddress(address);
    if (!protocol->Send(command)) {
        protocol->ReportError(nullptr, MB_OK);
        return Outcome::kFailed;
    }
    std::string reply;
    const int status = protocol->Receive(reply);
    if (status == kStatusRejected) {
        reply_ = RejectionText(*protocol);
        return Outcome::kRejected;
    }
    if (status != kStatusOk) {
        if (quiet) reply_ = ComStream::StatusText(status);
        else protocol->ReportError(nullptr, MB_OK);
        return Outcome::kFailed;
    }
    reply_ = std::move(reply);
    if (command.starts_with("PT")) CaptureReport(*protocol->Port());
    return Outcome::kAnswered;
}

void TerminalExchange::CaptureReport(ComStream& port) {
    AtomicFileWriter file(reportPath_);
    const bool fileOpen = file.Open();
    if (!fileOpen && !log_.IsOpen()) {
        ui_.Message(kCannotOpenReport);
        return;
    }
    bool cancelled = false;
    bool written = fileOpen;
    std::string pending;  // written a few kilobytes at a time
    auto flush = [&] {
        if (written) written = file.Write(pending.data(), pending.size());
        log_.Write(pending);
        pending.clear();
    };
    {
        std::unique_ptr<ProgressSink> progress = ui_.Progress(kCapturing);
        std::array<char, 1> byte{};
        // The report ends when the line goes quiet (the read times out).
        for (size_t taken = 0; taken < kMaxReport && port.Read(byte, 1) == 1; ++taken) {
            if (byte[0] != '\r') pending.push_back(byte[0]);
            if (pending.size() >= kWriteChunk) flush();
            if (progress && !progress->PeekAndPump(true, true)) {
                cancelled = true;
                break;
            }
        }
    }
    flush();
    if (!fileOpen) return;
    if (!written || !file.Commit()) {
        if (!log_.IsOpen()) ui_.Message(kCannotOpenReport);
        return;
    }
    if (!log_.IsOpen() && !cancelled) host_.OpenWithDefaultProgram(Absolute(reportPath_));
}

}  // namespace qs
