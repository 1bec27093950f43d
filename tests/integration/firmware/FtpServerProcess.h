#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

#include "TempDir.h"

namespace qs::test {

// The device's FTP server for a test: Debian's pyftpdlib (ftp_server.py beside this file, run
// with /usr/bin/python3) on a given loopback address and a port the system picks, serving a
// folder of its own to one user, with the faults asked for. Stopped when the object goes.
class FtpServerProcess {
public:
    struct Options {
        std::string host;
        std::string user = "Quillset";
        std::string password = "4711";
        std::vector<std::string> faults{};  // dele-refused, dele-close, stall=N
    };

    explicit FtpServerProcess(Options options);
    ~FtpServerProcess();
    FtpServerProcess(const FtpServerProcess&) = delete;
    FtpServerProcess& operator=(const FtpServerProcess&) = delete;

    bool Running() const { return pid_ > 0; }
    const std::string& Error() const { return error_; }
    unsigned Port() const { return port_; }
    // A file of the served folder, and its content ("" when missing).
    std::string File(const std::string& name) const { return root_.File(name); }
    std::string Read(const std::string& name) const { return ReadWhole(root_.File(name)); }
    void Put(const std::string& name, const std::string& bytes) const { root_.Write(name, bytes); }
    // The commands received so far, one a line, the password masked.
    std::vector<std::string> Commands() const;

private:
    TempDir root_, own_;
    pid_t pid_ = -1;
    unsigned port_ = 0;
    std::string error_;
};

}  // namespace qs::test
