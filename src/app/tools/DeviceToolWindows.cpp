#include "app/tools/DeviceToolWindows.h"

#include <wx/filename.h>
#include <wx/weakref.h>

#include "app/programdata/CVexa3WxDoc.h"
#include "app/shell/CMainFrame.h"
#include "app/tools/CTotalsView.h"
#include "app/tools/LogFileDialog.h"
#include "appmodel/logs/LogDownloads.h"
#include "appmodel/totals/TotalsCommand.h"

namespace qs {

void DeviceToolWindows::Add(DeviceCommands& commands, CVexa3WxDoc& doc, wxWindow* parent, FileChooser chooseFile) {
    if (!chooseFile) {
        chooseFile = [parent, &doc](const LogFileChoice& choice) {
            const wxString file = doc.GetFilename();
            const std::string folder = file.empty() ? std::string() : wxFileName(file).GetPath().utf8_string();
            return LogFileDialog::Choose(parent, choice, folder);
        };
    }
    LogDownloadHooks hooks;
    hooks.chooseFile = std::move(chooseFile);
    commands.AddTool<LogDownloads>(std::move(hooks));
    commands.AddTool<TotalsCommand>([&doc] { CTotalsView::Open(CMainFrame::Instance(), doc); });
}

}  // namespace qs
