#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/UiServices.h"

namespace qs::test {

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned type = 0;
};

// Records every box and answers from a script; an unscripted box is answered by `byType`
// when set, else takes the cautious answer.
class RecordingPrompt final : public Prompt {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    void Answer(int id) { answers.push_back(id); }
    std::vector<ShownMessage> shown;
    std::deque<int> answers;
    std::function<int(unsigned type)> byType;
};

// Everything a progress window was told, and a Cancel that arrives at a chosen step.
struct ProgressRecord {
    std::string title;
    std::vector<std::string> texts;
    int lower = 0, upper = 100, step = 1, pos = 0;
    int steps = 0;       // StepIt/OffsetPos/SetPos calls
    int pumps = 0;
    bool cancelled = false;
    bool waitedForClose = false;
    bool cancelWithdrawn = false;
    int nonModalPumps = 0;
    // The texts set when Cancel was taken away (the last text then, and how many there were).
    size_t textsWhenWithdrawn = 0;
};

class RecordingProgress final : public ProgressSink {
public:
    RecordingProgress(std::shared_ptr<ProgressRecord> rec, int cancelAfterPumps)
        : rec_(std::move(rec)), cancelAfterPumps_(cancelAfterPumps) {}
    void SetRange(int lower, int upper, int step) override;
    void SetText(const std::string& text) override { rec_->texts.push_back(text); }
    int SetPos(int pos) override;
    int OffsetPos(int n) override { return SetPos(rec_->pos + n); }
    int StepIt() override { return SetPos(rec_->pos + rec_->step); }
    bool PeekAndPump(bool cancelOnEsc, bool modal) override;
    bool Cancelled() const override { return rec_->cancelled; }
    void WithdrawCancel() override {
        rec_->cancelWithdrawn = true;
        rec_->textsWhenWithdrawn = rec_->texts.size();
    }
    void WaitForClose() override { rec_->waitedForClose = true; }

private:
    std::shared_ptr<ProgressRecord> rec_;
    int cancelAfterPumps_;
};

class RecordingErrorLog final : public TransferErrorLog {
public:
    void AddTransferError(const void* owner, const std::string& line) override { lines.push_back({owner, line}); }
    void ClearOwner(const void* owner) override;
    std::vector<std::string> Lines() const;
    std::vector<std::pair<const void*, std::string>> lines;
};

class RecordingStatusPane final : public StatusPane {
public:
    void SetStatusText(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

// A clock that moves only when told. `onRead`, when set, runs at each reading before the time
// is taken (it may move `now` or make a device act), so a test can put an event at an exact
// point of a wait.
class FakeClock final : public Clock {
public:
    int64_t NowMs() const override {
        if (onRead) onRead();
        return now;
    }
    int64_t now = 1000000;
    std::function<void()> onRead;
};

// Installs all the recording fakes for the life of a test, and offers them as a bundle to pass
// to classes that take their services in the constructor.
class RecordingUi {
public:
    RecordingUi();
    // The n-th PeekAndPump of every progress window made from now on reports Cancel (0 = never).
    void CancelAfterPumps(int n) { cancelAfter_ = n; }
    std::vector<std::string> Messages() const;  // texts of all boxes shown
    std::string LastMessage() const;

    RecordingPrompt prompt;
    RecordingErrorLog errorLog;
    RecordingStatusPane status;
    std::vector<std::shared_ptr<ProgressRecord>> progress;
    UiServices services;  // the fakes above

private:
    int cancelAfter_ = 0;
    std::unique_ptr<ScopedUiServices> scope_;
};

}  // namespace qs::test
