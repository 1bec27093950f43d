#include "EmulatorProgram.h"

#include <signal.h>
#include <sys/stat.h>

#include <cstdio>
#include <sstream>

#include <wx/image.h>

#include "Processes.h"
#include "XWindows.h"
#include "emulators/display/DisplayEngine.h"
#include "emulators/display/DisplayLink.h"
#include "emulators/displayui/CDisplayWnd.h"
#include "emulators/displayui/ScreenDump.h"
#include "platform/Clock.h"

namespace qs::test {
namespace {

class MemorySource final : public display::ByteSource {
public:
    explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
    int ReadByte(int64_t) override { return at_ < bytes_.size() ? static_cast<uint8_t>(bytes_[at_++]) : -1; }
    bool Done() const { return at_ >= bytes_.size(); }

private:
    std::string bytes_;
    size_t at_ = 0;
};

int IndexOf(unsigned char r, unsigned char g, unsigned char b) {
    for (int i = 0; i < 4; ++i) {
        const auto& rgb = displayui::CDisplayWnd::kPalette[static_cast<size_t>(i)];
        if (r == rgb[0] && g == rgb[1] && b == rgb[2]) return i;
    }
    return -1;
}

}  // namespace

EmulatorProgram::EmulatorProgram(std::string program, const std::vector<std::string>& ports)
    : program_(std::move(program)) {
    ::mkdir(dir_.File("run").c_str(), 0700);
    ::mkdir(dir_.File("dump").c_str(), 0700);
    std::string ini = "[Ports]\n";
    for (const std::string& line : ports) ini += line + "\n";
    dir_.Write("QS3X.INI", ini);
}

EmulatorProgram::~EmulatorProgram() {
    if (pid_ > 0) StopChild(pid_);
}

bool EmulatorProgram::Start(const std::vector<std::string>& args) {
    std::vector<std::string> argv{std::string(QS_BIN_DIR) + "/" + program_};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_ = SpawnProgram(argv,
                                  EnvironmentWith({"XDG_CONFIG_HOME=" + dir_.File("config"),
                                                             "XDG_RUNTIME_DIR=" + dir_.File("run"),
                                                             "QUILLSET_INI=" + dir_.File("QS3X.INI"),
                                                             std::string(displayui::ScreenDump::kVariable) + "=" + dir_.File("dump")}),
                                  dir_.File("output.txt"));
    return pid_ > 0;
}

std::optional<std::string> EmulatorProgram::WaitForWindow(const std::string& titleRegex, std::chrono::milliseconds timeout) {
    std::optional<std::string> id;
    WaitUntil(
        [&] {
            const auto found = FindWindows(titleRegex, true);
            if (!found.empty()) id = found.front();
            return id.has_value();
        },
        timeout);
    return id;
}

std::optional<int> EmulatorProgram::Terminate(int signal, std::chrono::milliseconds timeout) {
    if (pid_ <= 0) return std::nullopt;
    ::kill(pid_, signal);
    const std::optional<int> status = WaitForChild(pid_, timeout);
    if (status) pid_ = -1;
    return status;
}

std::string EmulatorProgram::Output() const { return dir_.Read("output.txt"); }

std::optional<EmulatorProgram::Dump> EmulatorProgram::ReadDump(int screen) const {
    const std::string file = dir_.Read("dump/screen" + std::to_string(screen) + ".lcd");
    const size_t end = file.find('\n');
    if (end == std::string::npos || file.size() != end + 1 + display::Framebuffer::kWidth * display::Framebuffer::kHeight)
        return std::nullopt;
    Dump dump;
    int width = 0, height = 0;
    if (std::sscanf(file.c_str(), "LCD %d %d %d %d", &width, &height, &dump.x, &dump.y) != 4) return std::nullopt;
    for (int i = 0; i < width * height; ++i) {
        dump.pixels.SetPixel(i % width, i / width, static_cast<uint8_t>(file[end + 1 + static_cast<size_t>(i)]));
    }
    return dump;
}

std::string AddrWord(const std::string& dotted) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::sscanf(dotted.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    char word[16];
    std::snprintf(word, sizeof word, "ADDR%02X%02X%02X%02X", a, b, c, d);
    return word;
}

display::Framebuffer EngineGolden(const std::vector<SimFrame>& log, display::DisplayVariant variant) {
    // The operator panel's own status window on display 2 puts its screens in the four-display
    // layout, which frames display 0.
    const bool panel = variant == display::DisplayVariant::OperatorPanel;
    display::DisplayEngine engine(variant, panel ? 2 : 1);
    if (panel) engine.List().AddWindow(engine.List().NextWindowId(2), 2);
    SteadyClock clock;
    display::DisplayLink link(engine, clock, false);
    // The script arrives in one receive pass; each key's answer later in a pass of its own. An
    // object drawn because it changed covers what an earlier drawing left beneath it, so the
    // drawing is cut where the program's was.
    std::string pass;
    const auto draw = [&] {
        MemorySource source(pass);
        link.Attach(&source, nullptr);
        for (int turn = 0; turn < 100 && !source.Done(); ++turn) link.ReceiveFrames();
        link.Attach(nullptr, nullptr);
        engine.RedrawDisplays();
        pass.clear();
    };
    for (const SimFrame& f : log) {
        if (!f.Sent() || f.kind != "display") continue;
        if (f.text.rfind("show ", 0) == 0 && !pass.empty()) draw();
        pass += f.bytes;
    }
    draw();
    return engine.GetFramebuffer(0);
}

std::optional<std::pair<int, int>> ClientOrigin(const std::string& windowId) {
    const ToolResult r = RunTool({"xwininfo", "-id", windowId});
    int x = 0, y = 0, found = 0;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) {
        if (std::sscanf(line.c_str(), " Absolute upper-left X: %d", &x) == 1) ++found;
        if (std::sscanf(line.c_str(), " Absolute upper-left Y: %d", &y) == 1) ++found;
    }
    if (r.status != 0 || found != 2) return std::nullopt;
    return std::make_pair(x, y);
}

std::vector<int> LcdOnScreen(int x, int y, const std::string& savePath) {
    if (RunTool({"import", "-window", "root", savePath}).status != 0) return {};
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
    wxImage shot;
    if (!shot.LoadFile(savePath, wxBITMAP_TYPE_PNG)) return {};
    std::vector<int> out;
    for (int row = 0; row < display::Framebuffer::kHeight; ++row) {
        for (int column = 0; column < displayui::CDisplayWnd::kShownWidth; ++column) {
            const int px = x + column, py = y + row;
            if (px < 0 || py < 0 || px >= shot.GetWidth() || py >= shot.GetHeight()) return {};
            out.push_back(IndexOf(shot.GetRed(px, py), shot.GetGreen(px, py), shot.GetBlue(px, py)));
        }
    }
    return out;
}

std::vector<int> ShownColumns(const display::Framebuffer& fb) {
    std::vector<int> out;
    for (int row = 0; row < display::Framebuffer::kHeight; ++row) {
        for (int column = 0; column < displayui::CDisplayWnd::kShownWidth; ++column) out.push_back(fb.Pixel(column, row));
    }
    return out;
}

bool ScriptSent(const std::vector<SimFrame>& log) {
    for (const SimFrame& f : log) {
        if (f.Sent() && f.kind == "display" && f.text == "update 8") return true;
    }
    return false;
}

std::vector<SimFrame> KeysReceived(const std::vector<SimFrame>& log) {
    std::vector<SimFrame> keys;
    for (const SimFrame& f : log) {
        if (f.Received() && (f.kind == "key" || f.kind == "noise")) keys.push_back(f);
    }
    return keys;
}

}  // namespace qs::test
