#include "emulators/displayui/ScreenDump.h"

#include <cstdlib>

#include "platform/AtomicFile.h"

namespace qs::displayui {

std::string ScreenDump::Folder() {
    const char* folder = std::getenv(kVariable);
    return folder ? folder : "";
}

bool ScreenDump::Write(const std::string& folder, int screen, const display::Framebuffer& framebuffer,
                       const wxPoint& onDesktop) {
    std::string content = "LCD " + std::to_string(display::Framebuffer::kWidth) + " " +
                          std::to_string(display::Framebuffer::kHeight) + " " + std::to_string(onDesktop.x) + " " +
                          std::to_string(onDesktop.y) + "\n";
    const auto& pixels = framebuffer.Pixels();
    content.append(reinterpret_cast<const char*>(pixels.data()), pixels.size());
    return WriteFileAtomically(folder + "/screen" + std::to_string(screen) + ".lcd", content);
}

}  // namespace qs::displayui
