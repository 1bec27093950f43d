#include "ScriptedDevice.h"

#include <cstdio>

namespace qs::test {

void ScriptedDevice::Reject(int code) {
    char text[8];
    std::snprintf(text, sizeof text, "NO%02d", code % 100);
    Reply(text);
}

std::string ScriptedDevice::Controller(int address, const std::string& command) {
    if (command.starts_with("PV")) return command + " " + std::to_string(address) + ":" + command.substr(3, 6);
    if (command.starts_with("XV")) return command + " 2";
    return command;
}

std::unique_ptr<ScriptedStream> ScriptedDevice::Line(bool network, int dataBits) {
    auto line = std::make_unique<ScriptedStream>(network, dataBits);
    written_.clear();
    line->onWrite = [this](const std::string& bytes) { written_ += bytes; };
    line->respond = [this](const std::string& request) { return Respond(request); };
    stream = line.get();
    return line;
}

std::unique_ptr<TerminalProtocol> ScriptedDevice::Open(Framing framing, int address, bool network) {
    if (framing == Framing::Mini) return OpenMini(network, 8, address);
    return std::make_unique<TerminalProtocol>(Line(network), address);
}

std::unique_ptr<MiniProtocol> ScriptedDevice::OpenMini(bool network, int dataBits, int address) {
    return std::make_unique<MiniProtocol>(Line(network, dataBits), address);
}

std::string ScriptedDevice::Respond(const std::string& request) {
    const std::vector<WrittenFrame> frames = FramesIn(request);
    if (frames.empty()) return "";
    const WrittenFrame& f = frames.back();
    if (f.block) {
        blocks.push_back(f.data);
        blockAddresses.push_back(f.address);
    } else {
        sent.push_back({f.address, f.data});
    }

    std::string text;
    if (!script_.empty()) {
        const Entry e = script_.front();
        script_.pop_front();
        if (e.kind == Entry::kRaw) return e.bytes;
        text = e.bytes;
        const int address = e.address >= 0 ? e.address : f.address;
        return f.mini ? MiniReply(address, text) : TerminalReply(address, text);
    }
    if (f.block) return ServeBlock(f.address, f.data);
    if (answer) text = answer(f.address, f.data);
    if (text.empty()) return "";
    return f.mini ? MiniReply(f.address, text) : TerminalReply(f.address, text);
}

std::string ScriptedDevice::ServeBlock(int address, const std::string& block) {
    if (onBlock) {
        if (auto own = onBlock(block, static_cast<int>(blocks.size()) - 1)) return *own;
    }
    const uint16_t code = static_cast<uint16_t>(block.size() >= 5 ? U32From(block, 1) & 0xFFFF : 0);
    if (block.size() != 7) return BinaryReply(address, code, 0x0000);
    const uint32_t n = U32From(block, 3) & 0xFFFF;
    if (n == 0) return BinaryReply(address, code, 0x0000, Vec(U32Be(static_cast<uint32_t>(dataSet.size())) +
                                                              U32Be(BitwiseCrc32(dataSet))));
    const size_t offset = (n - 1) * blockSize;
    if (offset >= dataSet.size()) return BinaryReply(address, code, 0x8001);
    return BinaryReply(address, code, 0x0000, Vec(dataSet.substr(offset, blockSize)));
}

std::vector<std::string> ScriptedDevice::Commands() const {
    std::vector<std::string> out;
    for (const WrittenFrame& f : Frames())
        if (!f.block) out.push_back(f.data);
    return out;
}

std::vector<int> ScriptedDevice::Addresses() const {
    std::vector<int> out;
    for (const WrittenFrame& f : Frames())
        if (!f.block) out.push_back(f.address);
    return out;
}

std::vector<std::string> ScriptedDevice::CommandsFrom(size_t n) const {
    std::vector<std::string> out;
    for (size_t i = n; i < sent.size(); ++i) out.push_back(sent[i].command);
    return out;
}

}  // namespace qs::test
