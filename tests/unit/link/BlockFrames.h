#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DeviceFrames.h"
#include "ScriptedStream.h"
#include "link/MiniProtocol.h"

// The device's side of the "SV " envelope, written out by hand for the tests: what a block
// request looks like on the line and what the device answers. Nothing here uses the product's
// own envelope or CRC code, so a fault there cannot cancel itself out.
namespace qs::test {

inline std::string U16Be(uint32_t v) { return Bytes({static_cast<int>(v >> 8 & 0xFF), static_cast<int>(v & 0xFF)}); }
inline std::string U32Be(uint32_t v) { return U16Be(v >> 16) + U16Be(v & 0xFFFF); }

inline uint32_t U32From(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (size_t i = at; i < at + 4 && i < s.size(); ++i) v = v << 8 | static_cast<unsigned char>(s[i]);
    return v;
}

// The CRC-32 bit by bit, without a table.
inline uint32_t BitwiseCrc32(const std::string& data) {
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : data) {
        c ^= b;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    }
    return ~c;
}

inline std::string UnescapeWire(const std::string& escaped) {
    std::string out;
    for (size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != '\x1B') {
            out += escaped[i];
            continue;
        }
        const char n = i + 1 < escaped.size() ? escaped[++i] : '\0';
        out += n == 'S' ? '\x02' : n == 'E' ? '\x03' : n == 'P' ? '\x7F' : n == '\x1B' ? '\x1B' : '\0';
    }
    return out;
}

// One block as it went out: the unescaped bytes after the address digits, and whether the
// frame was whole (STX, digits, ETX, right LRC, 0x7F, 0x00).
struct SentBlock {
    std::string data;
    bool wellFormed = false;
};

// Every block request in what was written to the line, in order.
inline std::vector<SentBlock> SentBlocks(const std::string& written) {
    std::vector<SentBlock> blocks;
    size_t i = 0;
    while ((i = written.find('\x02', i)) != std::string::npos) {
        const size_t etx = written.find('\x03', i);
        if (etx == std::string::npos) break;
        SentBlock b;
        const std::string checked = written.substr(i + 1, etx - i);  // digits .. ETX
        b.data = UnescapeWire(checked.substr(2, checked.size() - 3));
        b.wellFormed = etx + 2 < written.size() && static_cast<uint8_t>(written[etx + 1]) == XorOf(checked) &&
                       written[etx + 2] == '\x7F' && etx + 3 < written.size() && written[etx + 3] == '\0';
        blocks.push_back(b);
        // The LRC after ETX may itself be 0x02: a whole frame is skipped with its trailer.
        i = b.wellFormed ? etx + 4 : etx + 1;
    }
    return blocks;
}

inline std::string ReadRequestBytes(uint16_t code, uint16_t block) { return "SV " + U16Be(code) + U16Be(block); }

// A device answering block requests from a data set, `blockSize` data bytes a block, and
// acknowledging every write frame. `onBlock` may answer a block its own way first (return a
// whole reply on the wire, "" for no answer at all), given the block's bytes and its number
// counted from 0 over the link's life.
struct BlockDevice {
    int address = 1;
    std::string dataSet;
    size_t blockSize = 500;
    std::function<std::optional<std::string>(const std::string& block, int index)> onBlock;
    std::vector<std::string> received;

    std::string Respond(const std::string& request) {
        const std::vector<SentBlock> blocks = SentBlocks(request);
        if (blocks.empty()) return "";
        const std::string block = blocks.back().data;
        received.push_back(block);
        if (onBlock) {
            if (auto own = onBlock(block, static_cast<int>(received.size()) - 1)) return *own;
        }
        const uint16_t code = static_cast<uint16_t>(block.size() >= 5 ? U32From(block, 1) & 0xFFFF : 0);
        if (block.size() != 7) return BinaryReply(address, code, 0x0000);
        const uint32_t n = U32From(block, 3) & 0xFFFF;
        if (n == 0) {
            const std::string body = U32Be(static_cast<uint32_t>(dataSet.size())) + U32Be(BitwiseCrc32(dataSet));
            return BinaryReply(address, code, 0x0000, std::vector<uint8_t>(body.begin(), body.end()));
        }
        const size_t offset = (n - 1) * blockSize;
        if (offset >= dataSet.size()) return BinaryReply(address, code, 0x8001);
        const std::string chunk = dataSet.substr(offset, blockSize);
        return BinaryReply(address, code, 0x0000, std::vector<uint8_t>(chunk.begin(), chunk.end()));
    }
};

// A scripted line that can let one reply come late: the first read after the line has seen a
// given number of writes times out, and the device's answer is read by the next one.
class HiccupStream final : public ComStream {
public:
    explicit HiccupStream(std::unique_ptr<ScriptedStream> inner) : inner_(std::move(inner)) {
        state_ = inner_->State();
        portNumber_ = inner_->PortNumber();
    }
    void TimeOutFirstReadAfterWrites(int writes) { hiccupAfter_ = writes; }
    int hiccups = 0;

    int Write(const char* data, int length = 0) override { return Sync(inner_->Write(data, length)); }
    int Read(std::span<char> buffer, int length, int terminator = -1) override {
        if (hiccupAfter_ > 0 && inner_->writeCalls >= hiccupAfter_) {
            hiccupAfter_ = 0;
            ++hiccups;
            status_ = kStatusTimeout;
            return 0;
        }
        return Sync(inner_->Read(buffer, length, terminator));
    }
    void Flush() override { inner_->Flush(); }
    void PurgeInput() override { inner_->PurgeInput(); }
    std::string Describe(int address) const override { return inner_->Describe(address); }
    bool IsNetwork() const override { return inner_->IsNetwork(); }
    int GetDataBits() const override { return inner_->GetDataBits(); }

private:
    int Sync(int result) {
        status_ = inner_->Status();
        systemError_ = inner_->SystemError();
        return result;
    }
    std::unique_ptr<ScriptedStream> inner_;
    int hiccupAfter_ = 0;
};

// A binary protocol over a scripted line, with the device above answering it.
struct ScriptedLink {
    explicit ScriptedLink(bool network = false, int dataBits = 8) {
        auto s = std::make_unique<ScriptedStream>(network, dataBits);
        stream = s.get();
        stream->respond = [this](const std::string& request) { return device.Respond(request); };
        auto h = std::make_unique<HiccupStream>(std::move(s));
        line = h.get();
        protocol = std::make_unique<MiniProtocol>(std::move(h), 1);
    }
    std::vector<SentBlock> Sent() const { return SentBlocks(stream->Written()); }
    std::vector<std::string> SentData() const {
        std::vector<std::string> out;
        for (const SentBlock& b : Sent()) out.push_back(b.data);
        return out;
    }

    BlockDevice device;
    ScriptedStream* stream;
    HiccupStream* line;
    std::unique_ptr<MiniProtocol> protocol;
};

inline std::string Text(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }
inline std::vector<uint8_t> Vec(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

}  // namespace qs::test
