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

int ShowMessage(const std::string& text, unsigned type, const std::string& caption) {
    Prompt* p = Ui().prompt ? Ui().prompt : &g_stderrPrompt;
    return p->MessageBox(text, caption, type);
}

std::unique_ptr<ProgressSink> MakeProgress(const std::string& title, bool smooth) {
    if (Ui().progress) {
        if (auto p = Ui().progress(title, smooth)) return p;
    }
    return std::make_unique<SilentProgress>();
}

void AddTransferError(const void* owner, const std::string& line) {
    if (Ui().errorLog) Ui().errorLog->AddTransferError(owner, line);
    else std::fprintf(stderr, "%s\n", line.c_str());
}

void SetStatusText(const std::string& text) {
    if (Ui().status) Ui().status->SetStatusText(text);
}

void RunIdle() {
    if (Ui().idle) Ui().idle();
}

const Clock& UiClock() { return Ui().clock ? *Ui().clock : g_steadyClock; }

ScopedUiServices::ScopedUiServices(const UiServices& services) : saved_(Ui()) { Ui() = services; }
ScopedUiServices::~ScopedUiServices() { Ui() = saved_; }

}  // namespace qs
