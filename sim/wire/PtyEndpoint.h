#pragma once
#include <string>

namespace sim {

// A pty standing in for a serial line. The slave is made raw and linked to a path the program
// under test opens; a slave descriptor of our own stays open, since a pty master reads EIO
// while no slave is open, so the program may close and reopen the path at will.
class PtyEndpoint {
public:
    PtyEndpoint() = default;
    ~PtyEndpoint();
    PtyEndpoint(const PtyEndpoint&) = delete;
    PtyEndpoint& operator=(const PtyEndpoint&) = delete;

    // Returns "" or the fault. A symbolic link already at `link` is replaced; anything else
    // there is left alone and reported.
    std::string Open(const std::string& link);
    int MasterFd() const { return master_; }
    const std::string& Link() const { return link_; }
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string link_;
    std::string slavePath_;
};

}  // namespace sim
