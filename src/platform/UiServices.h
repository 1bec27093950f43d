#pragma once
#include <functional>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/ProgressSink.h"
#include "platform/Prompt.h"
#include "platform/StatusPane.h"
#include "platform/TransferErrorLog.h"

namespace qs {

using ProgressFactory = std::function<std::unique_ptr<ProgressSink>(const std::string& title, bool smooth)>;

// The process-wide services through which the core reaches the user, the way the original
// reached AfxMessageBox and the main frame. The GUI installs its implementations at start-up;
// tests install recording fakes with ScopedUiServices. Without either, boxes go to stderr
// and take their cautious answer.
struct UiServices {
    Prompt* prompt = nullptr;
    ProgressFactory progress;
    TransferErrorLog* errorLog = nullptr;
    StatusPane* status = nullptr;
    const Clock* clock = nullptr;
    // Called over and over while a socket waits for its peer: the GUI dispatches its events
    // there (modal to the transfer), as the original's socket wait pumped messages.
    std::function<void()> idle;
};

UiServices& Ui();

// Shorthands that fall back to the defaults when nothing is installed.
int ShowMessage(const std::string& text, unsigned type = MB_OK, const std::string& caption = {});
std::unique_ptr<ProgressSink> MakeProgress(const std::string& title, bool smooth = false);
void AddTransferError(const void* owner, const std::string& line);
void SetStatusText(const std::string& text);
const Clock& UiClock();
void RunIdle();

// Installs services for a scope and restores the previous ones after it.
class ScopedUiServices {
public:
    explicit ScopedUiServices(const UiServices& services);
    ~ScopedUiServices();
    ScopedUiServices(const ScopedUiServices&) = delete;
    ScopedUiServices& operator=(const ScopedUiServices&) = delete;

private:
    UiServices saved_;
};

}  // namespace qs
