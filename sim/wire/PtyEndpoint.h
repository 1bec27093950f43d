#pragma once
#include <string>
#include <string_view>

namespace sim {

// A pty standing in for a serial line. The slave is made raw and linked to a path the program
// under test opens; a slave descriptor of our own stays open, since a pty master reads EIO
// while no slave is open, so the program may close and reopen the path at will. The master is
// in packet mode, so that a purge of the program's input shows as well as its bytes.
class PtyEndpoint {
public:
    // What one read of the master brought.
    struct Packet {
        std::string_view data;
        bool inputPurged = false;  // the program threw away what we had sent and it had not read
    };
    static Packet Unpack(std::string_view read);

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
