#include "RecordingUi.h"

#include <algorithm>

namespace qs::test {

int RecordingPrompt::MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    shown.push_back({text, caption, type});
    if (answers.empty()) return byType ? byType(type) : DefaultAnswer(type);
    int id = answers.front();
    answers.pop_front();
    return id;
}

void RecordingProgress::SetRange(int lower, int upper, int step) {
    rec_->lower = lower;
    rec_->upper = upper;
    rec_->step = step;
}

int RecordingProgress::SetPos(int pos) {
    int old = rec_->pos;
    rec_->pos = pos;
    ++rec_->steps;
    return old;
}

bool RecordingProgress::PeekAndPump(bool, bool modal) {
    ++rec_->pumps;
    if (!modal) ++rec_->nonModalPumps;
    // A Cancel the window no longer offers cannot be pressed.
    if (!rec_->cancelWithdrawn && cancelAfterPumps_ > 0 && rec_->pumps >= cancelAfterPumps_) rec_->cancelled = true;
    return !rec_->cancelled;
}

void RecordingErrorLog::ClearOwner(const void* owner) {
    lines.erase(std::remove_if(lines.begin(), lines.end(), [&](const auto& l) { return l.first == owner; }),
                lines.end());
}

std::vector<std::string> RecordingErrorLog::Lines() const {
    std::vector<std::string> out;
    for (const auto& l : lines) out.push_back(l.second);
    return out;
}

RecordingUi::RecordingUi() {
    UiServices s;
    s.prompt = &prompt;
    s.errorLog = &errorLog;
    s.status = &status;
    s.progress = [this](const std::string& title, bool) -> std::unique_ptr<ProgressSink> {
        auto rec = std::make_shared<ProgressRecord>();
        rec->title = title;
        progress.push_back(rec);
        return std::make_unique<RecordingProgress>(rec, cancelAfter_);
    };
    services = s;
    scope_ = std::make_unique<ScopedUiServices>(s);
}

std::vector<std::string> RecordingUi::Messages() const {
    std::vector<std::string> out;
    for (const auto& m : prompt.shown) out.push_back(m.text);
    return out;
}

std::string RecordingUi::LastMessage() const { return prompt.shown.empty() ? std::string() : prompt.shown.back().text; }

}  // namespace qs::test
