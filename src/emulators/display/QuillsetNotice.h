#pragma once
#include <string>

#include "platform/ControlSocket.h"

namespace qs::display {

// Tells a running Quillset that the emulator has ended and the device's link is free again.
class QuillsetNotice {
public:
    // How long a Quillset that is there but busy may take to accept the line.
    static constexpr int kTimeoutMs = 2000;

    // Sends `message` over Quillset's control socket in `runtimeDir` (empty: the user's
    // runtime folder). Nothing is sent, at once, when no Quillset listens there. True once
    // sent.
    static bool Post(ControlMessage message, const std::string& runtimeDir = {});
};

}  // namespace qs::display
