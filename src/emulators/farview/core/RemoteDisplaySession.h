#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "emulators/display/DisplayEngine.h"
#include "emulators/display/DisplayLink.h"
#include "emulators/display/DisplayPort.h"
#include "emulators/display/DisplayPortOpener.h"
#include "platform/Clock.h"
#include "platform/UiServices.h"

namespace qs::farview {

// Farview's link to one device and what it draws, apart from any window: the display engine
// with one screen (two in the four-display layout), the display link, and the serial line or
// TCP connection it runs on. The faceplate calls Tick() from its 100 ms timer and SendKey()
// for every key; Shutdown() is the end of the run as far as the device is concerned.
class RemoteDisplaySession {
public:
    struct Setup {
        bool master = false;  // answer the device's control frames; hand the line back at exit
        bool quad = false;    // the four-display faceplate: screen 1 gets its own LCD
    };

    // `pathForCom` names the device of COM n (the "QS3X.INI" [Ports] look-up by default).
    RemoteDisplaySession(const UiServices& ui, const Clock& clock, Setup setup,
                         std::function<std::string(int)> pathForCom = {});
    ~RemoteDisplaySession();
    RemoteDisplaySession(const RemoteDisplaySession&) = delete;
    RemoteDisplaySession& operator=(const RemoteDisplaySession&) = delete;

    // Closes the current link and opens the one named: port 0 is TCP/IP to `address`, n is
    // COMn. A port that cannot be used has been reported; the session then runs without one
    // (the boot screen keeps turning).
    void Open(int port, const std::string& address);
    bool HasLink() const { return port_ != nullptr; }
    int Port() const { return portNumber_; }
    const std::string& Address() const { return address_; }

    // Whether new settings from the setup dialog need the link opened again: not when the port
    // stays and is a serial one, or stays TCP/IP to the same address.
    static bool NeedsReopen(int oldPort, const std::string& oldAddress, int newPort, const std::string& newAddress);

    // One receive pass, then a redraw when a frame changed the display or nothing has come
    // yet. True when the screens were redrawn.
    bool Tick();
    void SendKey(uint8_t code);
    // The key 0xF8 when master, then the link closed. Later calls do nothing.
    void Shutdown();

    int ScreenCount() const { return engine_.FramebufferCount(); }
    const display::Framebuffer& Screen(int index) const { return engine_.GetFramebuffer(index); }
    display::DisplayEngine& Engine() { return engine_; }
    display::DisplayLink& Link() { return link_; }
    bool Master() const { return link_.Master(); }
    bool Quad() const { return engine_.FramebufferCount() > 1; }

private:
    void Close();

    const Clock& clock_;
    display::DisplayEngine engine_;
    display::DisplayLink link_;
    display::DisplayPortOpener opener_;
    std::unique_ptr<display::DisplayPort> port_;
    int portNumber_ = 0;
    std::string address_;
    bool ended_ = false;
};

}  // namespace qs::farview
