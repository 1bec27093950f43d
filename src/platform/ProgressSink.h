#pragma once
#include <cstdint>
#include <string>

namespace qs {

// What a long device transfer sees of its progress window. Created by the UI services on the
// stack of the operation and destroyed when it returns.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void SetRange(int lower, int upper, int step = 1) = 0;
    // The text is shown as it stands: it is never used as a format.
    virtual void SetText(const std::string& text) = 0;
    virtual int SetPos(int pos) = 0;
    virtual int OffsetPos(int n) = 0;
    virtual int StepIt() = 0;
    // Lets the user act on the window; returns false once cancelled.
    virtual bool PeekAndPump(bool cancelOnEsc = true, bool modal = true) = 0;
    virtual bool Cancelled() const = 0;
    // Once an operation can no longer be stopped without harm, Cancel is taken away (button,
    // Esc and the window's close alike); it stays away for the window's life.
    virtual void WithdrawCancel() {}
    // After a successful Read/Dump: "Transfer Complete!" and a Close button, then wait for it.
    virtual void WaitForClose() = 0;
};

}  // namespace qs
