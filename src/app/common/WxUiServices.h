#pragma once
#include <memory>
#include <string>

#include <wx/weakref.h>
#include <wx/window.h>

#include "platform/UiServices.h"

namespace qs {

// Message boxes for the core, shown as CMessageBoxDlg over the transfer's progress window
// when one is up, else over the dialog running modally, else over the main window.
class WxPrompt final : public Prompt {
public:
    void SetMainWindow(wxWindow* main) { main_ = main; }
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;

private:
    wxWeakRef<wxWindow> main_;
};

// A CProgressWnd over the application's main window.
std::unique_ptr<ProgressSink> MakeWxProgress(const std::string& title, bool smooth);

// What a socket wait runs over and over: during a transfer, the progress window's own pump
// (its Cancel button keeps working); otherwise paint and layout only, while user input waits
// in the queue until the command has finished.
void WxIdle();

// Installs the prompt, the progress factory and the idle hook into Ui(). The main frame
// sets the status pane and the transfer-error log itself once it has them.
void InstallWxUiServices(wxWindow* mainWindow);

}  // namespace qs
