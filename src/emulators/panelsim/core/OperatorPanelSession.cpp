#include "emulators/panelsim/core/OperatorPanelSession.h"

#include <cstring>

#include "emulators/display/FaceplateKeys.h"
#include "emulators/panelsim/core/PollingList.h"
#include "platform/SerialDevice.h"

namespace qs::panelsim {
namespace {

constexpr uint8_t kStatusColours = 0x03;  // colour 3 on colour 0
constexpr int kFirstStatusRow = 14;
constexpr int kStatusRowStep = 12;

}  // namespace

OperatorPanelSession::OperatorPanelSession(const UiServices& ui, const Clock& clock,
                                           std::function<std::string(int)> pathForCom)
    : engine_(display::DisplayVariant::OperatorPanel, 2),
      link_(engine_, clock, true,
            {.error = {},
             .badEndMarker = {},
             .firstByte =
                 [this] {
                     status_.ClearTexts();
                     ShowStatusTexts();
                 },
             .armStatus = [this](const display::ArmStatus& status) { OnArmStatus(status); },
             .wallSeconds = {}}),
      opener_(ui, clock, pathForCom ? std::move(pathForCom) : std::function<std::string(int)>(&SerialPathForCom)),
      ui_(ui) {
    BuildStatusWindow();
}

OperatorPanelSession::~OperatorPanelSession() { Close(); }

void OperatorPanelSession::Open(int port) {
    Close();
    portNumber_ = port;
    if (ended_) return;
    // The operator panel has no TCP/IP link: there is no COM0.
    if (port == 0) {
        ui_.Message("Error opening communications port");
        return;
    }
    port_ = opener_.Open(port, "");
    link_.Attach(port_.get(), port_.get());
}

void OperatorPanelSession::SetArms(std::string_view addressList) {
    arms_ = PollingList::Parse(addressList);
    status_.SetArms(arms_);
    if (poll_ >= arms_.size()) poll_ = 0;
    if (current_ >= arms_.size()) current_ = 0;
}

bool OperatorPanelSession::ApplySetup(int port, std::string_view addressList) {
    const bool reopen = port != portNumber_;
    if (reopen) Open(port);
    SetArms(addressList);
    status_.ClearTexts();
    ShowStatusTexts();
    return reopen;
}

void OperatorPanelSession::Start() {
    Poll();
    SendKey(kHello, poll_);
}

bool OperatorPanelSession::Tick() {
    Poll();
    link_.ReceiveFrames();
    bool redrawn = false;
    if (link_.RedrawNeeded() || !link_.ReceivedAnything()) {
        engine_.RedrawDisplays();
        link_.ClearRedrawNeeded();
        redrawn = true;
    }
    for (int d = 0; d < display::DisplayList::kDisplays; ++d) engine_.List().CollectGarbage(d);
    return redrawn;
}

void OperatorPanelSession::PressKey(uint8_t code) {
    SendKey(code, current_);
    poll_ = current_;
}

void OperatorPanelSession::Shutdown() {
    if (ended_) return;
    link_.SendKeyFrame(display::DisplayLink::kExit, kAllArms, static_cast<uint8_t>(status_.AttentionCount() & 0x7F));
    ended_ = true;
    Close();
}

void OperatorPanelSession::SendKey(uint8_t code, size_t index) {
    if (ended_) return;
    if (code == display::FaceplateKeys::kF1) {
        if (status_.F1Locked()) return;
        if (!arms_.empty()) current_ = (current_ + 1) % arms_.size();
    } else {
        // With no arms the poll goes to the list's end mark, address 0.
        const uint8_t address =
            code == display::FaceplateKeys::kStop || index >= arms_.size() ? kAllArms : arms_[index];
        const auto flags = static_cast<uint8_t>((index == current_ ? kForCurrentArm : 0) |
                                                (status_.AttentionCount() & 0x7F));
        link_.SendKeyFrame(code, address, flags);
    }
    status_.ComputeSlots(current_, arms_.size());
}

void OperatorPanelSession::Poll() {
    SendKey(display::DisplayLink::kPoll, poll_);
    if (++poll_ >= arms_.size()) poll_ = 0;
    if (!arms_.empty()) status_.RecordPoll(arms_[poll_], poll_);
    if (const std::optional<size_t> request = status_.TakeRequest(); request && *request < arms_.size()) {
        current_ = *request;
    }
}

void OperatorPanelSession::BuildStatusWindow() {
    display::DisplayList& list = engine_.List();
    statusWindow_ = list.NextWindowId(kStatusDisplay);
    if (!list.AddWindow(statusWindow_, kStatusDisplay)) return;
    for (size_t i = 0; i < ArmStatusLines::kSlots; ++i) {
        const uint16_t id = list.NextObjectId(kStatusDisplay);
        display::DisplayObject* object = list.AddDisplayObject(id, kStatusDisplay);
        if (!object) return;
        object->colours = kStatusColours;
        object->font = 0;
        object->x = 0;
        object->y = static_cast<uint16_t>(kFirstStatusRow + kStatusRowStep * static_cast<int>(i));
        std::memcpy(object->format.data(), "%s", 2);
        list.AttachDisplayObject(statusWindow_, id, kStatusDisplay);
        statusObjects_[i] = id;
    }
    ShowStatusTexts();
    list.SelectWindow(statusWindow_, kStatusWindowFlags, kStatusDisplay);
}

void OperatorPanelSession::ShowStatusTexts() {
    display::DisplayList& list = engine_.List();
    for (size_t i = 0; i < ArmStatusLines::kSlots; ++i) {
        display::DisplayObject* object = list.FindDisplayObject(statusObjects_[i], kStatusDisplay);
        if (!object) continue;
        const std::string text = status_.Text(i);
        std::vector<uint8_t> payload(text.begin(), text.end());
        payload.push_back(0);
        list.SetPayload(*object, kStatusDisplay, std::move(payload));
        object->MarkChanged();
    }
    // A shorter text must not leave the tail of the longer one it replaces.
    if (display::DisplayListWindow* window = list.FindDisplayWindow(statusWindow_, kStatusDisplay)) {
        window->flags |= kStatusWindowFlags;
    }
}

void OperatorPanelSession::OnArmStatus(const display::ArmStatus& status) {
    if (status_.Apply(status, current_)) ShowStatusTexts();
}

void OperatorPanelSession::Close() {
    link_.Attach(nullptr, nullptr);
    if (port_) port_->Close();
    port_.reset();
}

}  // namespace qs::panelsim
