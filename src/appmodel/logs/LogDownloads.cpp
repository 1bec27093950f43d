#include "appmodel/logs/LogDownloads.h"

#include "link/BlockTransfer.h"
#include "link/MiniProtocol.h"
#include "platform/ProcessLauncher.h"
#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

LogDownloads::LogDownloads(DeviceCommands& commands, LogDownloadHooks hooks, LogDownloadLimits limits)
    : commands_(commands), hooks_(std::move(hooks)), limits_(limits) {
    if (!hooks_.openFile) {
        const AppServices& services = commands.Services();
        hooks_.openFile = DesktopOpener(services.launcher, services.programDir, services.ui);
    }
    DeviceCommandTable& table = commands.Table();
    const struct {
        int id;
        const char* text;
        LogKind kind;
    } rows[] = {
        {kCmdTransactionLog, "Transaction &Log to File...", LogKind::Transaction},
        {kCmdEventLog, "&Event Log to File...", LogKind::Event},
        {kCmdAuditTrailLog, "&Audit Trail Log to File...", LogKind::Audit},
    };
    for (const auto& row : rows) {
        const LogKind kind = row.kind;
        table.Register({row.id, MenuSection::DeviceTools, row.text, {}, EnableRule::Connected,
                        [this, kind] { return Download(kind); }});
    }
}

bool LogDownloads::Download(LogKind kind) {
    DeviceCommands::CommandScope scope;
    if (!scope.Entered()) return false;
    DeviceCommands::WaitCursor wait(commands_);
    if (!commands_.Connect(true, DeviceCommands::kNotResponding, &wait)) return false;
    CVexa3Doc& doc = commands_.Document();
    MiniProtocol* link = BlockTransfer::RequireBinaryLink(doc.GetProtocol());
    if (link == nullptr) return false;
    LogDownloadHooks hooks = hooks_;
    hooks.chooseFile = [this, &wait](const LogFileChoice& choice) -> std::optional<std::string> {
        wait.End();
        return hooks_.chooseFile ? hooks_.chooseFile(choice) : std::nullopt;
    };
    LogDownloader downloader(doc, *link, commands_.Ui(), std::move(hooks), limits_);
    return downloader.Download(kind) == LogDownloadOutcome::Written;
}

std::string LogDownloads::OpenFaultText(const std::string& path, const std::string& reason) {
    return "Unable to open " + path + " - " + reason;
}

std::function<void(const std::string&)> LogDownloads::DesktopOpener(ProcessLauncher& launcher,
                                                                    const std::string& programDir,
                                                                    const UiServices& ui) {
    return [&launcher, &programDir, &ui](const std::string& path) {
        launcher.ReapFinished();
        const std::optional<std::string> program = ProcessLauncher::FindProgram(kOpener, programDir);
        if (!program) {
            ui.Message(OpenFaultText(path, std::string(kOpener) + " not found beside Quillset or on PATH"));
            return;
        }
        const ProcessLauncher::Started started = launcher.Start(*program, {path});
        if (!started.ok) ui.Message(OpenFaultText(path, started.message));
    };
}

}  // namespace qs
