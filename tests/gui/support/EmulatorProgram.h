#pragma once
// An emulator program (farview, panelsim) run as its user runs it, in folders of its own, with
// a simulated controller to talk to.
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "SimProcess.h"
#include "TempDir.h"
#include "emulators/display/DisplayEngine.h"
#include "emulators/display/Framebuffer.h"

namespace qs::test {

class EmulatorProgram {
public:
    // `program`: the executable's name in the build's output folder; `ports`: lines for the
    // [Ports] section of "QS3X.INI" (COMn=path).
    explicit EmulatorProgram(std::string program, const std::vector<std::string>& ports = {});
    ~EmulatorProgram();
    EmulatorProgram(const EmulatorProgram&) = delete;
    EmulatorProgram& operator=(const EmulatorProgram&) = delete;

    bool Start(const std::vector<std::string>& args);
    // The faceplate's window id once it is shown.
    std::optional<std::string> WaitForWindow(const std::string& titleRegex, std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // SIGTERM as a shutdown would send (or SIGINT, as Ctrl+C in a terminal); the exit status
    // once it has ended.
    std::optional<int> Terminate(int signal = 15, std::chrono::milliseconds timeout = std::chrono::seconds(15));
    std::string Output() const;
    pid_t Pid() const { return pid_; }
    std::string Folder() const { return dir_.Path(); }
    std::string RuntimeDir() const { return dir_.File("run"); }

    // The screen the program wrote as it ended, and where its display window was.
    struct Dump {
        display::Framebuffer pixels;
        int x = 0, y = 0;
    };
    std::optional<Dump> ReadDump(int screen) const;

private:
    std::string program_;
    TempDir dir_;
    pid_t pid_ = -1;
};

// "ADDR%08X" for a dotted IPv4 address.
std::string AddrWord(const std::string& dotted);

// What the display engine draws on screen 0 from the demo frames the simulator logged as sent.
display::Framebuffer EngineGolden(const std::vector<SimFrame>& log,
                                  display::DisplayVariant variant = display::DisplayVariant::RemoteDisplay);

// Where the client area of a top-level window is on the desktop.
std::optional<std::pair<int, int>> ClientOrigin(const std::string& windowId);

// A screenshot of the whole desktop, cut to 248 x 64 at (x, y), as palette indexes (-1 for a
// colour that is none of the LCD's); empty when it could not be taken.
std::vector<int> LcdOnScreen(int x, int y, const std::string& savePath);
// Columns 0-247 of a framebuffer, as palette indexes.
std::vector<int> ShownColumns(const display::Framebuffer& fb);

// The simulator's display frames and the key frames it received, for waiting on.
bool ScriptSent(const std::vector<SimFrame>& log);
std::vector<SimFrame> KeysReceived(const std::vector<SimFrame>& log);

}  // namespace qs::test
