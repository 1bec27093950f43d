#include "link/FtpSession.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>

#include "platform/Clock.h"

namespace qs {

namespace {

CURL* Handle(void* curl) { return static_cast<CURL*>(curl); }

// Once per process, before the first handle.
void InitLibrary() {
    static const bool done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    static_cast<void>(done);
}

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
    explicit QuoteList(const std::string& command) : list_(curl_slist_append(nullptr, command.c_str())) {}
    ~QuoteList() { curl_slist_free_all(list_); }
    QuoteList(const QuoteList&) = delete;
    QuoteList& operator=(const QuoteList&) = delete;
    curl_slist* get() const { return list_; }

private:
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

FtpSession::FtpSession(unsigned port, const Clock& clock) : port_(port), clock_(clock) { InitLibrary(); }

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
    if (curl_) curl_easy_cleanup(Handle(curl_));
    curl_ = curl_easy_init();
    CURL* h = Handle(curl_);
    if (!h) return FtpStatus::kFailed;
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_USERNAME, user_.c_str());
    curl_easy_setopt(h, CURLOPT_PASSWORD, password_.c_str());
    curl_easy_setopt(h, CURLOPT_FTPPORT, "-");
    curl_easy_setopt(h, CURLOPT_FTP_USE_EPRT, 0L);
    curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &Callbacks::Progress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, &Callbacks::Read);
    // Logging in is all a perform without a body does on the root.
    curl_easy_setopt(h, CURLOPT_URL, root_.c_str());
    curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    return Perform(nullptr);
}

FtpStatus FtpSession::Delete(const std::string& name) {
    if (!curl_) return FtpStatus::kFailed;
    if (!IsPlainFileName(name)) return FtpStatus::kRefused;
    CURL* h = Handle(curl_);
    QuoteList dele("DELE " + name);
    curl_easy_setopt(h, CURLOPT_URL, root_.c_str());
    curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(h, CURLOPT_QUOTE, dele.get());
    const FtpStatus status = Perform(nullptr);
    curl_easy_setopt(h, CURLOPT_QUOTE, nullptr);
    return status;
}

FtpStatus FtpSession::Put(const std::string& name, std::span<const uint8_t> bytes) {
    if (!curl_) return FtpStatus::kFailed;
    if (!IsPlainFileName(name)) return FtpStatus::kRefused;
    CURL* h = Handle(curl_);
    Upload upload{bytes, 0};
    const std::string url = root_ + name;
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_READDATA, &upload);
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(bytes.size()));
    const FtpStatus status = Perform(&upload);
    curl_easy_setopt(h, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(h, CURLOPT_READDATA, nullptr);
    return status;
}

void FtpSession::Close() {
    // The password is kept no longer than its connection.
    password_.assign(password_.size(), '\0');
    password_.clear();
    if (!curl_) return;
    curl_easy_cleanup(Handle(curl_));  // says QUIT on a connection still open
    curl_ = nullptr;
}

FtpStatus FtpSession::Perform(Upload* upload) {
    CURL* h = Handle(curl_);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::max(1, timeouts_.connectMs)));
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, WholeSeconds(timeouts_.receiveMs));
    curl_easy_setopt(h, CURLOPT_ACCEPTTIMEOUT_MS, static_cast<long>(std::max(1, timeouts_.receiveMs)));
    lastSent_ = 0;
    lastMoveMs_ = clock_.NowMs();
    const CURLcode code = curl_easy_perform(h);
    // A whole upload must have been taken from us.
    if (code == CURLE_OK && upload && upload->offset != upload->bytes.size()) return FtpStatus::kFailed;
    return StatusOf(code);
}

}  // namespace qs
