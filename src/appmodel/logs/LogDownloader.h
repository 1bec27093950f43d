#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "appmodel/logs/LogKind.h"
#include "appmodel/logs/LogLink.h"

namespace qs {

class AtomicFileWriter;
class CVexa3Doc;
class MiniProtocol;
class ProgressSink;
struct UiServices;

// What a download asks of the window it runs in.
struct LogDownloadHooks {
    // The Save As dialog; nullopt after Cancel.
    std::function<std::optional<std::string>(const LogFileChoice& choice)> chooseFile;
    // Shows the written file in the desktop's program for it.
    std::function<void(const std::string& path)> openFile;
    // Lets `ms` milliseconds pass before a busy device is asked again, the windows kept alive.
    // Empty: a wait on the services' clock.
    std::function<void(int ms)> pause;
};

// How long a busy device (status 0x8038 on a transaction header) is waited for.
struct LogDownloadLimits {
    int busyDelayMs = 250;
    int busyRetries = 20;  // asks of one header after the first
};

enum class LogDownloadOutcome { Written, NoEntries, NotChosen, FileFault, Cancelled };

// Copies one of the device's logs into a text file the user names: the range of numbers the
// device holds first (per arm, or per bay when the document reads bays, for the transaction
// log), then each record by its number, newest first, one line each (CR LF). A record that
// cannot be read is left out and the download goes on; Cancel keeps what was written and opens
// nothing; a finished file is opened in the desktop's program. The link has been checked for
// the binary protocol on 8 data bits; the document's bay addresses and (transaction log) the
// protocol's device address are left as the download set them.
class LogDownloader {
public:
    static constexpr uint32_t kBusyCode = 0x8038;
    // Batches are parts 1-10: parts 11 and 12 are the bay totals and the extra record.
    static constexpr int kMaxBatches = 10;
    static constexpr int kMaxArms = 6;

    LogDownloader(CVexa3Doc& document, MiniProtocol& link, const UiServices& ui, LogDownloadHooks hooks,
                  LogDownloadLimits limits = {});
    ~LogDownloader();
    LogDownloader(const LogDownloader&) = delete;
    LogDownloader& operator=(const LogDownloader&) = delete;

    LogDownloadOutcome Download(LogKind kind);

    // "Unable to create <path> - <reason>", "Unable to write <path> - <reason>".
    static std::string CreateFaultText(const std::string& path, int error);
    static std::string WriteFaultText(const std::string& path, int error);

private:
    // An arm or bay whose transactions are read, and what it holds.
    struct Unit {
        std::string heading;
        int address = 0;
        LogRange range;
        int64_t count = 0;
    };

    LogDownloadOutcome Transactions();
    LogDownloadOutcome Entries(LogKind kind);
    // Bay addresses from "BA", and the "MS A" / "MS B" of a bay that has none.
    void FindBays();
    std::vector<Unit> Units();
    // False when the download was cancelled while a busy device was waited for.
    bool Transaction(uint32_t number);
    LogReply AskHeader(uint32_t number, bool& cancelled);

    // The dialog, the file and the progress window; false when the download ends there.
    std::optional<LogDownloadOutcome> Begin(LogKind kind, int64_t count);
    void Write(const std::string& text);
    // Step, pump; false once cancelled.
    bool Stepped();
    LogDownloadOutcome Finish(bool cancelled);
    void Pause(int ms);

    CVexa3Doc& doc_;
    LogLink link_;
    const UiServices& ui_;
    LogDownloadHooks hooks_;
    LogDownloadLimits limits_;
    std::unique_ptr<AtomicFileWriter> file_;
    std::string path_;
    int writeError_ = 0;
    std::unique_ptr<ProgressSink> progress_;
    bool bayTotalsWanted_ = true;
};

}  // namespace qs
