#include "ScriptedStream.h"

#include <algorithm>
#include <cstring>

namespace qs::test {

ScriptedStream::ScriptedStream(bool isNetwork, int bits) : network(isNetwork), dataBits(bits) {
    state_ = kStateOpen;
    portNumber_ = isNetwork ? 7734 : 1;
}

void ScriptedStream::Feed(const std::string& bytes) {
    if (inPos_ == input_.size()) {
        input_.clear();
        inPos_ = 0;
    }
    input_.append(bytes);
}

int ScriptedStream::Write(const char* data, int length) {
    if (state_ == kStateClosed) return 0;
    if (length == 0) length = static_cast<int>(std::strlen(data));
    ++writeCalls;
    if (failWritesFrom > 0 && writeCalls >= failWritesFrom) {
        status_ = kStatusReceiveError;
        return 0;
    }
    writes.emplace_back(data, static_cast<size_t>(length));
    if (onWrite) onWrite(writes.back());
    request_.append(data, static_cast<size_t>(length));
    wroteSinceReply_ = true;
    return length;
}

void ScriptedStream::ReleaseReply() {
    if (!wroteSinceReply_) return;
    if (!replies.empty()) {
        Feed(replies.front());
        replies.pop_front();
    } else if (respond) {
        Feed(respond(request_));
    } else {
        return;
    }
    request_.clear();
    wroteSinceReply_ = false;
}

int ScriptedStream::Read(std::span<char> buffer, int length, int terminator) {
    if (state_ == kStateClosed) return 0;
    ++readCalls;
    readLimits.push_back(WaitLimit());
    if (onRead) onRead();
    if (hiccupAfter_ > 0 && writeCalls >= hiccupAfter_) {
        hiccupAfter_ = 0;
        ++hiccups;
        status_ = kStatusTimeout;
        return 0;
    }
    ReleaseReply();
    if (terminator == -1 && length == 0) {
        terminator = '\n';
        length = static_cast<int>(buffer.size());
    }
    const size_t limit = std::min(static_cast<size_t>(std::max(length, 0)), buffer.size());
    if (limit == 0) {
        status_ = kStatusProtocolError;
        return 0;
    }
    if (terminator < 0 || terminator > 255) {
        if (network) {
            size_t n = std::min(limit, Available());
            if (networkChunk > 0) n = std::min(n, networkChunk);
            if (n == 0) {
                status_ = static_cast<PortStatus>(starveStatus);
                return 0;
            }
            for (size_t i = 0; i < n; ++i) buffer[i] = Take();
            return static_cast<int>(n);
        }
        for (size_t i = 0; i < limit; ++i) {
            if (Available() == 0) {
                status_ = static_cast<PortStatus>(starveStatus);
                return 0;
            }
            buffer[i] = Take();
        }
        status_ = kStatusOk;
        state_ = kStateReadOk;
        return static_cast<int>(limit);
    }
    for (size_t count = 0; count < limit;) {
        if (Available() == 0) {
            status_ = static_cast<PortStatus>(starveStatus);
            return network ? static_cast<int>(count) : 0;
        }
        const char byte = Take();
        buffer[count++] = byte;
        if (static_cast<unsigned char>(byte) == terminator) {
            if (!network) {
                status_ = kStatusOk;
                state_ = kStateReadOk;
            }
            return static_cast<int>(count);
        }
    }
    status_ = kStatusProtocolError;
    return 0;
}

void ScriptedStream::PurgeInput() {
    ++purges;
    if (network) return;
    input_.clear();
    inPos_ = 0;
}

std::string ScriptedStream::Describe(int address) const {
    if (state_ == kStateClosed) return "Comm Not Enabled";
    return (network ? "Scripted network link, address " : "Scripted serial link, address ") +
           std::to_string(address & 0xFF);
}

int ScriptedStream::ShowError(const char* prefix, unsigned type) {
    showErrorPrefixes.push_back(prefix ? prefix : "(null)");
    return ComStream::ShowError(prefix, type);
}

std::string ScriptedStream::Written() const {
    std::string all;
    for (const auto& w : writes) all += w;
    return all;
}

}  // namespace qs::test
