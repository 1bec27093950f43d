#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/ComStream.h"

namespace qs::test {

// An in-memory device link. It records every byte written and serves scripted bytes to reads,
// with the read rules of the two real kinds of port:
// - serial (IsNetwork false): a fixed-count read needs every byte; a terminated read stops at
//   the terminator, fails with status 9 when the length fills first; PurgeInput drops the
//   bytes waiting to be read;
// - network (IsNetwork true): a fixed-count read is one receive of what is there (up to
//   `networkChunk` bytes when set); a terminated read that runs dry returns the bytes stored
//   so far with status 7; PurgeInput does nothing.
// When no byte is left a read fails with `starveStatus` (7, a time-out, unless set).
//
// Bytes given to Feed are waiting at once. Bytes given to QueueReply are the device's answer
// to the next command: each one becomes readable at the first read after a write, one reply
// per command, so a purge before the send cannot drop it. With no queued reply left,
// `respond` (when set) is asked instead, given every byte written since the last answer.
class ScriptedStream final : public ComStream {
public:
    explicit ScriptedStream(bool network = false, int dataBits = 8);

    int Write(const char* data, int length = 0) override;
    int Read(std::span<char> buffer, int length, int terminator = -1) override;
    void Flush() override { ++flushes; }
    void PurgeInput() override;
    std::string Describe(int address) const override;
    bool IsNetwork() const override { return network; }
    int GetDataBits() const override { return dataBits; }
    int ReadWaitMs() const override { return readWaitMs; }
    int ShowError(const char* prefix, unsigned type) override;

    void Feed(const std::string& bytes);
    void QueueReply(const std::string& bytes) { replies.push_back(bytes); }
    // Writes from the n-th one on (counted from 1 over the stream's life) fail with status 6.
    void FailWritesFrom(int n) { failWritesFrom = n; }
    // The first read once `n` writes have been made times out (a reply that comes late): the
    // answer to the command is read by the read after it.
    void TimeOutFirstReadAfterWrites(int n) { hiccupAfter_ = n; }
    void SetState(int state) { state_ = static_cast<StreamState>(state); }

    // Everything written, in order, as one string; and each Write call's bytes.
    std::string Written() const;
    // Bytes waiting to be read (queued replies not included).
    std::string Pending() const { return input_.substr(inPos_); }
    void ClearWritten() { writes.clear(); }

    bool network;
    int dataBits;
    int starveStatus = kStatusTimeout;
    int readWaitMs = 3000;
    size_t networkChunk = 0;
    int failWritesFrom = 0;

    std::deque<std::string> replies;   // answers to come, one per command
    std::function<std::string(const std::string& request)> respond;
    std::function<void(const std::string& bytes)> onWrite;  // told each successful Write
    std::function<void()> onRead;  // called at the start of each Read (a clock may move there)
    std::vector<std::string> writes;   // bytes of each successful Write
    int writeCalls = 0;
    int readCalls = 0;
    std::vector<int64_t> readLimits;  // the port's wait limit at each read (0 = none)
    int purges = 0;
    int flushes = 0;
    int hiccups = 0;  // reads timed out by TimeOutFirstReadAfterWrites
    size_t bytesRead = 0;
    // Prefix given to each ShowError call ("(null)" for none).
    std::vector<std::string> showErrorPrefixes;

private:
    bool wroteSinceReply_ = false;
    int hiccupAfter_ = 0;
    std::string request_;  // written since the last answer
    std::string input_;
    size_t inPos_ = 0;
    void ReleaseReply();
    size_t Available() const { return input_.size() - inPos_; }
    char Take() { ++bytesRead; return input_[inPos_++]; }
};

}  // namespace qs::test
