#include "emulators/display/QuillsetNotice.h"

#include <sys/stat.h>

#include "platform/Paths.h"

namespace qs::display {

bool QuillsetNotice::Post(ControlMessage message, const std::string& runtimeDir) {
    std::string dir = runtimeDir;
    if (dir.empty()) {
        const auto found = paths::RuntimeDir();
        if (!found) return false;
        dir = *found;
    }
    // No socket, no Quillset: the message would only be retried until the time-out.
    struct stat st {};
    if (::lstat((dir + "/" + kControlSocketName).c_str(), &st) != 0 || !S_ISSOCK(st.st_mode)) return false;
    return SendControlMessage(dir, message, kTimeoutMs);
}

}  // namespace qs::display
