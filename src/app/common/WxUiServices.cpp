#include "app/common/WxUiServices.h"

#include <wx/dialog.h>
#include <wx/evtloop.h>

#include "app/common/CMessageBoxDlg.h"
#include "app/common/CProgressWnd.h"
#include "app/common/ModalPump.h"

namespace qs {

namespace {

// The innermost dialog running modally. A box over the main window while a dialog runs would
// lift the main window above that dialog, and the dialog would stay hidden behind a window
// that takes no input.
wxWindow* InnermostModalDialog() {
    wxWindow* found = nullptr;
    for (wxWindow* w : wxTopLevelWindows) {
        if (auto* dialog = dynamic_cast<wxDialog*>(w); dialog && dialog->IsModal() && dialog->IsShown()) found = dialog;
    }
    return found;
}

}  // namespace

int WxPrompt::MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    wxWindow* parent = CProgressWnd::Current();
    if (!parent) parent = InnermostModalDialog();
    if (!parent) parent = main_.get();
    CMessageBoxDlg box(parent, text, caption, type);
    return box.Run();
}

std::unique_ptr<ProgressSink> MakeWxProgress(const std::string& title, bool smooth) {
    return std::make_unique<CProgressWnd>(nullptr, title, smooth);
}

void WxIdle() {
    if (CProgressWnd* progress = CProgressWnd::Current()) {
        progress->PumpForIdle();
        return;
    }
    ModalPump::BusyScope busy;
    ModalPump::Yield(wxEVT_CATEGORY_UI);
}

void InstallWxUiServices(wxWindow* mainWindow) {
    static WxPrompt prompt;
    prompt.SetMainWindow(mainWindow);
    UiServices& ui = Ui();
    ui.prompt = &prompt;
    ui.progress = &MakeWxProgress;
    ui.idle = &WxIdle;
}

}  // namespace qs
