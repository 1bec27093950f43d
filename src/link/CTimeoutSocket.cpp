#include "link/CTimeoutSocket.h"

#include <algorithm>
#include <cerrno>

#include "platform/UiServices.h"

namespace qs {

bool CTimeoutSocket::Connect(const std::string& host, unsigned port) {
    if (port == 0 || port > 65535) return false;
    return client_.Connect(host, static_cast<uint16_t>(port), WaitMs(connectTimeout_)) == TcpClient::Result::kOk;
}

int CTimeoutSocket::Send(const char* data, int length) {
    if (!data || length < 0) return -1;
    auto r = client_.Send(data, static_cast<size_t>(length), WaitMs(receiveTimeout_));
    return r == TcpClient::Result::kOk ? length : -1;
}

int CTimeoutSocket::Receive(char* buffer, int length, int64_t limitMs) {
    if (!buffer || length <= 0) return -1;
    int64_t wait = WaitMs(receiveTimeout_);
    if (limitMs > 0) wait = std::clamp<int64_t>(limitMs - UiClock().NowMs(), 0, wait);
    size_t received = 0;
    switch (client_.Receive(buffer, static_cast<size_t>(length), received, wait)) {
    case TcpClient::Result::kOk: return static_cast<int>(received);
    case TcpClient::Result::kClosed: return 0;
    default: return -1;
    }
}

}  // namespace qs
