#pragma once
#include <chrono>
#include <memory>
#include <string>

#include "app/common/StandardDialog.h"

#include "app/common/ModalPump.h"
#include "appmodel/common/ProgressModel.h"
#include "platform/ProgressSink.h"

class wxButton;
class wxGauge;
class wxStaticText;
class wxWindowDisabler;

namespace qs {

// The modeless window every long device transfer shows: caption with the percentage done,
// four lines of status text, a bar and a Cancel button. It lives on the stack (or in the
// unique_ptr) of the operation and goes when that returns. The transfer calls PeekAndPump
// after each step; the pump dispatches this window's input (and paint everywhere) while the
// program's other windows are disabled, so no second command can start.
class CProgressWnd final : public StandardDialog, public ProgressSink {
public:
    enum : int { ID_CANCEL_BUTTON = 10, ID_STATUS_TEXT = 11, ID_BAR = 12 };
    static constexpr int kTextLines = 4;

    // parent null: the application's main window. The window is shown at once, without
    // taking the focus.
    CProgressWnd(wxWindow* parent, const std::string& title, bool smooth = false);
    ~CProgressWnd() override;

    void SetRange(int lower, int upper, int step = 1) override;
    void SetText(const std::string& text) override;
    int SetPos(int pos) override;
    int OffsetPos(int n) override;
    int StepIt() override;
    bool PeekAndPump(bool cancelOnEsc = true, bool modal = true) override;
    bool Cancelled() const override { return model_.Cancelled(); }
    void WithdrawCancel() override;
    void WaitForClose() override;

    const ProgressModel& Model() const { return model_; }

    // The newest progress window still alive, if any: a socket wait during its transfer
    // pumps through it (PumpForIdle), so its Cancel button keeps working.
    static CProgressWnd* Current();
    // Dispatches as the last PeekAndPump asked (modal or not, Esc or not), at once.
    void PumpForIdle();

private:
    void Dispatch(bool modal, bool cancelOnEsc);
    void RunOwnQueuedEvents();
    void ApplyMove(const ProgressModel::Move& move);
    void OnCancel(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnCharHook(wxKeyEvent& event);

    ProgressModel model_;
    ModalPump::BusyScope busy_;
    wxStaticText* text_ = nullptr;
    wxGauge* bar_ = nullptr;
    wxButton* button_ = nullptr;
    std::unique_ptr<wxWindowDisabler> disabler_;
    bool escCancels_ = false;  // true only while a pump that asked for Esc dispatches
    bool lastCancelOnEsc_ = true;
    bool lastModal_ = true;
    bool raised_ = false;
    bool cancelWithdrawn_ = false;
    bool pumped_ = false;
    std::chrono::steady_clock::time_point lastPump_{};
};

}  // namespace qs
