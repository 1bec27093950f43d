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

// The services through which the core reaches the user: message boxes, progress windows, the
// transfer-error log, the status pane, the clock and the event pump. The GUI fills one at
// start-up; tests fill one with recording fakes. New classes take a bundle in their constructor
// and call its members; members left empty fall back to stderr, a silent progress and the
// cautious answer of each box.
struct UiServices {
    Prompt* prompt = nullptr;
    ProgressFactory progress;
    TransferErrorLog* errorLog = nullptr;
    StatusPane* status = nullptr;
    const Clock* clock = nullptr;
    // Called over and over while a socket waits for its peer: the GUI dispatches its events
    // there, modal to the transfer, so the window stays drawn and Cancel can be pressed.
    std::function<void()> idle;

    int Message(const std::string& text, unsigned type = MB_OK, const std::string& caption = {}) const;
    std::unique_ptr<ProgressSink> Progress(const std::string& title, bool smooth = false) const;
    void TransferError(const void* owner, const std::string& line) const;
    void Status(const std::string& text) const;
    const Clock& Time() const;
    void Idle() const;
};

// The program's own bundle, for the code written before bundles were passed in and for the
// program's edges (start-up, the main frame) that fill it.
UiServices& Ui();

// Shorthands for Ui()'s members.
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
