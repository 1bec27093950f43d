#include "link/FtpSession.h"

#include <algorithm>
#include <cstring>

#include "link/CurlLibrary.h"
#include "platform/Clock.h"

namespace qs {

namespace {

CURL* Handle(void* curl) { return static_cast<CURL*>(curl); }

bool HasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

bool IsDottedAddress(const std::string& host) {
    return !host.empty() && host.size() <= 15 &&
           std::all_of(host.begin(), host.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name.size() <= 64 && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
               c == '-';
    });
}

FtpStatus StatusOf(CURLcode code) {
    switch (code) {
    case CURLE_OK: return FtpStatus::kOk;
    case CURLE_LOGIN_DENIED: return FtpStatus::kLoginRefused;
    case CURLE_QUOTE_ERROR:
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_REMOTE_DISK_FULL: return FtpStatus::kRefused;
    default: return FtpStatus::kFailed;
    }
}

// Replies are waited for in whole seconds: never less than what was asked.
long WholeSeconds(int ms) { return std::max(1L, (static_cast<long>(ms) + 999) / 1000); }

// The list of the quote commands of one operation, freed with it.
class QuoteList {
public:
    QuoteList(const CurlLibrary& curl, const std::string& command)
        : library_(curl), list_(curl.slistAppend(nullptr, command.c_str())) {}
    ~QuoteList() { library_.slistFreeAll(list_); }
    QuoteList(const QuoteList&) = delete;
    QuoteList& operator=(const QuoteList&) = delete;
    curl_slist* get() const { return list_; }

private:
    const CurlLibrary& library_;
    curl_slist* list_;
};

}  // namespace

struct FtpSession::Upload {
    std::span<const uint8_t> bytes;
    size_t offset = 0;
};

struct FtpSession::Callbacks {
    static size_t Read(char* buffer, size_t size, size_t count, void* data) {
        auto* upload = static_cast<Upload*>(data);
        const size_t n = std::min(size * count, upload->bytes.size() - upload->offset);
        std::memcpy(buffer, upload->bytes.data() + upload->offset, n);
        upload->offset += n;
        return n;
    }

    static int Progress(void* data, curl_off_t, curl_off_t, curl_off_t ulTotal, curl_off_t ulNow) {
        auto* self = static_cast<FtpSession*>(data);
        const uint64_t total = ulTotal > 0 ? static_cast<uint64_t>(ulTotal) : 0;
        const uint64_t sent = ulNow > 0 ? static_cast<uint64_t>(ulNow) : 0;
        if (self->pump_) {
            try {
                self->pump_(sent, total);
            } catch (...) {
                return 1;  // nothing may leave through the library
            }
        }
        // Once bytes flow, an upload that stops moving for the send time-out has failed; the
        // wait for the server to connect back is the receive time-out's.
        const int64_t now = self->clock_.NowMs();
        if (sent == 0 || sent >= total || sent != self->lastSent_) {
            self->lastSent_ = sent;
            self->lastMoveMs_ = now;
            return 0;
        }
        return now - self->lastMoveMs_ >= self->timeouts_.sendMs ? 1 : 0;
    }
};

FtpSession::FtpSession(unsigned port, const Clock& clock)
    : port_(port), clock_(clock), curlLibrary_(CurlLibrary::Get()) {}

FtpSession::~FtpSession() { Close(); }

FtpStatus FtpSession::Open(const std::string& host, const std::string& user, const std::string& password) {
    Close();
    if (!IsDottedAddress(host)) return FtpStatus::kFailed;
    // A line break in a credential would end the command and start another.
    if (user.size() > kMaxCredential || password.size() > kMaxCredential || HasControlCharacter(user) ||
        HasControlCharacter(password))
        return FtpStatus::kLoginRefused;
    root_ = "ftp://" + host + ":" + std::to_string(port_) + "/";
    user_ = user;
    password_ = password;
    FtpStatus status = FtpStatus::kFailed;
    for (int attempt = 0; attempt <= std::max(0, timeouts_.connectRetries); ++attempt) {
        status = Attempt();
        if (status != FtpStatus::kFailed) break;
    }
    if (status != FtpStatus::kOk) Close();
    return status;
}

FtpStatus FtpSession::Attempt() {
    if (!curlLibrary_) return FtpStatus::kFailed;
    const CurlLibrary& lib = *curlLibrary_;
    if (curl_) lib.easyCleanup(Handle(curl_));
    curl_ = lib.easyInit();
    CURL* h = Handle(curl_);
    if (!h) return FtpStatus::kFailed;
    lib.easySetopt(h, CURLOPT_PROTOCOLS_STR, "ftp");
    lib.easySetopt(h, CURLOPT_NOSIGNAL, 1L);
    lib.easySetopt(h, CURLOPT_PROXY, "");
    lib.easySetopt(h, CURLOPT_USERNAME, user_.c_str());
    lib.easySetopt(h, CURLOPT_PASSWORD, password_.c_str());
    lib.easySetopt(h, CURLOPT_FTPPORT, "-");
    lib.easySetopt(h, CURLOPT_FTP_USE_EPRT, 0L);
    lib.easySetopt(h, CURLOPT_TRANSFERTEXT, 0L);
    lib.easySetopt(h, CURLOPT_NOPROGRESS, 0L);
    lib.easySetopt(h, CURLOPT_XFERINFOFUNCTION, &Callbacks::Progress);
    lib.easySetopt(h, CURLOPT_XFERINFODATA, this);
    lib.easySetopt(h, CURLOPT_READFUNCTION, &Callbacks::Read);
    // Logging in is all a perform without a body does on the root.
    lib.easySetopt(h, CURLOPT_URL, root_.c_str());
    lib.easySetopt(h, CURLOPT_NOBODY, 1L);
    return Perform(nullptr);
}

FtpStatus FtpSession::Delete(const std::string& name) {
    if (!curl_) return FtpStatus::kFailed;
    if (!IsPlainFileName(name)) return FtpStatus::kRefused;
    CURL* h = Handle(curl_);
    const CurlLibrary& lib = *curlLibrary_;
    QuoteList dele(lib, "DELE " + name);
    lib.easySetopt(h, CURLOPT_URL, root_.c_str());
    lib.easySetopt(h, CURLOPT_NOBODY, 1L);
    lib.easySetopt(h, CURLOPT_QUOTE, dele.get());
    const FtpStatus status = Perform(nullptr);
    lib.easySetopt(h, CURLOPT_QUOTE, nullptr);
    return status;
}

FtpStatus FtpSession::Put(const std::string& name, std::span<const uint8_t> bytes) {
    if (!curl_) return FtpStatus::kFailed;
    if (!IsPlainFileName(name)) return FtpStatus::kRefused;
    CURL* h = Handle(curl_);
    const CurlLibrary& lib = *curlLibrary_;
    Upload upload{bytes, 0};
    const std::string url = root_ + name;
    lib.easySetopt(h, CURLOPT_URL, url.c_str());
    lib.easySetopt(h, CURLOPT_NOBODY, 0L);
    lib.easySetopt(h, CURLOPT_UPLOAD, 1L);
    lib.easySetopt(h, CURLOPT_READDATA, &upload);
    lib.easySetopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(bytes.size()));
    const FtpStatus status = Perform(&upload);
    lib.easySetopt(h, CURLOPT_UPLOAD, 0L);
    lib.easySetopt(h, CURLOPT_READDATA, nullptr);
    return status;
}

void FtpSession::Close() {
    // The password is kept no longer than its connection.
    password_.assign(password_.size(), '\0');
    password_.clear();
    if (!curl_) return;
    curlLibrary_->easyCleanup(Handle(curl_));  // says QUIT on a connection still open
    curl_ = nullptr;
}

FtpStatus FtpSession::Perform(Upload* upload) {
    CURL* h = Handle(curl_);
    const CurlLibrary& lib = *curlLibrary_;
    lib.easySetopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::max(1, timeouts_.connectMs)));
    lib.easySetopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, WholeSeconds(timeouts_.receiveMs));
    lib.easySetopt(h, CURLOPT_ACCEPTTIMEOUT_MS, static_cast<long>(std::max(1, timeouts_.receiveMs)));
    lastSent_ = 0;
    lastMoveMs_ = clock_.NowMs();
    const CURLcode code = lib.easyPerform(h);
    // A whole upload must have been taken from us.
    if (code == CURLE_OK && upload && upload->offset != upload->bytes.size()) return FtpStatus::kFailed;
    return StatusOf(code);
}

}  // namespace qs
