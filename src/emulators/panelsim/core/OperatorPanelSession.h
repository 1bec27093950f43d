#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "emulators/display/DisplayEngine.h"
#include "emulators/display/DisplayLink.h"
#include "emulators/display/DisplayPort.h"
#include "emulators/display/DisplayPortOpener.h"
#include "emulators/panelsim/core/ArmStatusLines.h"
#include "platform/Clock.h"
#include "platform/UiServices.h"

namespace qs::panelsim {

// Panelsim's link to the arms on one serial line and what it draws, apart from any window:
// the display engine with two screens (the device's display list on the first, the five status
// lines on display 2 of the second), the display link in master mode, the polling list with
// the poll index P (the arm polled next) and the current arm C (the arm keys go to), and the
// arms' status. The faceplate calls Start() once, Tick() from its 100 ms timer, PressKey() for
// every key, and Shutdown() at the end of the run.
class OperatorPanelSession {
public:
    static constexpr uint8_t kHello = 0xFF;    // sent once at the start
    static constexpr uint8_t kAllArms = 0x00;  // the address of Stop and of the exit key
    static constexpr uint8_t kForCurrentArm = 0x80;
    static constexpr uint8_t kStatusWindowFlags = 0x90;  // redraw every object, clear first
    static constexpr int kStatusDisplay = 2;

    // `pathForCom` names the device of COM n (the "QS3X.INI" [Ports] look-up by default).
    OperatorPanelSession(const UiServices& ui, const Clock& clock, std::function<std::string(int)> pathForCom = {});
    ~OperatorPanelSession();
    OperatorPanelSession(const OperatorPanelSession&) = delete;
    OperatorPanelSession& operator=(const OperatorPanelSession&) = delete;

    // Closes the current line and opens COM `port` (a negative number: COM3). A port that
    // cannot be used has been reported; the session then runs without one.
    void Open(int port);
    bool HasLink() const { return port_ != nullptr; }
    int Port() const { return portNumber_; }

    // The polling list from an "AddressList" text. P and C keep their places while the list
    // still has them.
    void SetArms(std::string_view addressList);
    // What the setup dialog's OK asks for: the line opened again when the port changed, the
    // new list, and the status texts emptied. True when the port changed.
    bool ApplySetup(int port, std::string_view addressList);
    const std::vector<uint8_t>& Arms() const { return arms_; }

    // The first poll, then the key 0xFF to the arm polled next.
    void Start();
    // Polls the next arm, then reads the device's frames and redraws when something changed or
    // nothing has come yet, and sweeps what the device deleted. True when the screens were
    // redrawn.
    bool Tick();
    // A key of the faceplate: to the current arm, which is polled next. F1 does not go out: it
    // makes the next arm current, unless the current arm holds the F1 lock.
    void PressKey(uint8_t code);
    // The key 0xF8 to all arms, then the line closed. Later calls do nothing.
    void Shutdown();

    size_t PollIndex() const { return poll_; }
    size_t CurrentArm() const { return current_; }
    const ArmStatusLines& Status() const { return status_; }
    int ScreenCount() const { return engine_.FramebufferCount(); }
    const display::Framebuffer& Screen(int index) const { return engine_.GetFramebuffer(index); }
    display::DisplayEngine& Engine() { return engine_; }
    display::DisplayLink& Link() { return link_; }
    uint16_t StatusWindow() const { return statusWindow_; }

private:
    void SendKey(uint8_t code, size_t index);
    void Poll();
    void BuildStatusWindow();
    // The status texts into the status window's objects, drawn afresh at the next redraw.
    void ShowStatusTexts();
    void OnArmStatus(const display::ArmStatus& status);
    void Close();

    display::DisplayEngine engine_;
    display::DisplayLink link_;
    display::DisplayPortOpener opener_;
    const UiServices& ui_;
    std::unique_ptr<display::DisplayPort> port_;
    int portNumber_ = 0;
    std::vector<uint8_t> arms_;
    size_t poll_ = 0;
    size_t current_ = 0;
    ArmStatusLines status_;
    uint16_t statusWindow_ = 0;
    std::array<uint16_t, ArmStatusLines::kSlots> statusObjects_{};
    bool ended_ = false;
};

}  // namespace qs::panelsim
