#pragma once
// A progress sink that hands everything to the real progress window, for tests that look on
// at some moment of a transfer (overriding that call) without changing what the user sees.
#include <memory>
#include <string>
#include <utility>

#include "platform/ProgressSink.h"

namespace qs::test {

class ForwardingProgress : public ProgressSink {
public:
    explicit ForwardingProgress(std::unique_ptr<ProgressSink> real) : real_(std::move(real)) {}
    void SetRange(int lower, int upper, int step) override { real_->SetRange(lower, upper, step); }
    void SetText(const std::string& text) override { real_->SetText(text); }
    int SetPos(int pos) override { return real_->SetPos(pos); }
    int OffsetPos(int n) override { return real_->OffsetPos(n); }
    int StepIt() override { return real_->StepIt(); }
    bool PeekAndPump(bool cancelOnEsc, bool modal) override { return real_->PeekAndPump(cancelOnEsc, modal); }
    bool Cancelled() const override { return real_->Cancelled(); }
    void WithdrawCancel() override { real_->WithdrawCancel(); }
    void WaitForClose() override { real_->WaitForClose(); }

protected:
    std::unique_ptr<ProgressSink> real_;
};

}  // namespace qs::test
