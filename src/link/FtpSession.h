#pragma once
#include <cstdint>
#include <string>

#include "link/FtpClient.h"

namespace qs {

class Clock;
class CurlLibrary;

// An FTP session on libcurl: one control connection kept from Open to Close, active mode with
// PORT (the server connects back for the data), binary transfers, the user and password given
// to the library apart from the address (never written into a URL), and no proxy whatever
// the environment says.
//
// The time-outs: connecting within connectMs, tried again connectRetries times; a reply to a
// command, or the server's data connection, within receiveMs (replies counted in whole
// seconds, rounded up); an upload that stops moving for sendMs ends as a failure.
class FtpSession final : public FtpClient {
public:
    static constexpr unsigned kDefaultPort = 21;
    // Longest user name or password passed on; one with a control character is never sent.
    static constexpr size_t kMaxCredential = 255;

    // `clock` measures the stalls of uploads and outlives the session.
    FtpSession(unsigned port, const Clock& clock);
    ~FtpSession() override;
    FtpSession(const FtpSession&) = delete;
    FtpSession& operator=(const FtpSession&) = delete;

    FtpStatus Open(const std::string& host, const std::string& user, const std::string& password) override;
    // DELE; a file name of other than letters, digits, '.', '_' and '-' is refused unsent.
    FtpStatus Delete(const std::string& name) override;
    // STOR in binary mode; the same rule for the name.
    FtpStatus Put(const std::string& name, std::span<const uint8_t> bytes) override;
    void Close() override;

private:
    struct Upload;
    struct Callbacks;
    friend struct Callbacks;
    // One connection and login on a new handle.
    FtpStatus Attempt();
    // Runs the handle as set up and maps the library's result.
    FtpStatus Perform(Upload* upload);

    unsigned port_;
    const Clock& clock_;
    const CurlLibrary* curlLibrary_;  // nullptr when libcurl cannot be loaded
    void* curl_ = nullptr;            // CURL*, kept out of the header
    std::string root_;                // "ftp://host:port/"
    std::string user_;
    std::string password_;
    // The stall watch of the running upload.
    uint64_t lastSent_ = 0;
    int64_t lastMoveMs_ = 0;
};

}  // namespace qs
