#include "platform/UiServices.h"

#include <cstdio>

namespace qs {

int DefaultAnswer(unsigned type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_YESNO: return IDNO;
    default: return IDCANCEL;
    }
}

namespace {

class StderrPrompt final : public Prompt {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override {
        std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
        return DefaultAnswer(type);
    }
};

class SilentProgress final : public ProgressSink {
public:
    void SetRange(int lower, int upper, int step) override { lower_ = lower; upper_ = upper; step_ = step; }
    void SetText(const std::string&) override {}
    int SetPos(int pos) override { int old = pos_; pos_ = pos; return old; }
    int OffsetPos(int n) override { return SetPos(pos_ + n); }
    int StepIt() override { return SetPos(pos_ + step_); }
    bool PeekAndPump(bool, bool) override { return true; }
    bool Cancelled() const override { return false; }
    void WaitForClose() override {}

private:
    int lower_ = 0, upper_ = 100, step_ = 1, pos_ = 0;
};

StderrPrompt g_stderrPrompt;
SteadyClock g_steadyClock;

}  // namespace

UiServices& Ui() {
    static UiServices services;
    return services;
}

int UiServices::Message(const std::string& text, unsigned type, const std::string& caption) const {
    Prompt* p = prompt ? prompt : &g_stderrPrompt;
    return p->MessageBox(text, caption, type);
}

std::unique_ptr<ProgressSink> UiServices::Progress(const std::string& title, bool smooth) const {
    if (progress) {
        if (auto p = progress(title, smooth)) return p;
    }
    return std::make_unique<SilentProgress>();
}

void UiServices::TransferError(const void* owner, const std::string& line) const {
    if (errorLog) errorLog->AddTransferError(owner, line);
    else std::fprintf(stderr, "%s\n", line.c_str());
}

void UiServices::Status(const std::string& text) const {
    if (status) status->SetStatusText(text);
}

const Clock& UiServices::Time() const { return clock ? *clock : g_steadyClock; }

void UiServices::Idle() const {
    if (idle) idle();
}

int ShowMessage(const std::string& text, unsigned type, const std::string& caption) {
    return Ui().Message(text, type, caption);
}
std::unique_ptr<ProgressSink> MakeProgress(const std::string& title, bool smooth) {
    return Ui().Progress(title, smooth);
}
void AddTransferError(const void* owner, const std::string& line) { Ui().TransferError(owner, line); }
void SetStatusText(const std::string& text) { Ui().Status(text); }
void RunIdle() { Ui().Idle(); }
const Clock& UiClock() { return Ui().Time(); }

ScopedUiServices::ScopedUiServices(const UiServices& services) : saved_(Ui()) { Ui() = services; }
ScopedUiServices::~ScopedUiServices() { Ui() = saved_; }

}  // namespace qs
