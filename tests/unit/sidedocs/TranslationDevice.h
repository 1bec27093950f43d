#pragma once
// A controller at the end of a scripted TCP/IP link, for the transfers' unit tests: it answers
// the connection's probe and write test, "GP" and "LO", reads of a translation from its data set
// and writes of one frame by frame. Built on the link tests' scripted block device.
#include <memory>
#include <string>
#include <vector>

#include "../link/BlockFrames.h"
#include "link/ComPortTable.h"
#include "programdata/CVexa3Doc.h"
#include "sidedocs/DeviceLink.h"

namespace qs::test {

class TranslationDevice {
public:
    TranslationDevice() : doc_(ports_, DefinitionSource{}) {
        doc_.SetPortIndex(CVexa3Doc::kPortTcp);
        doc_.SetProtocolKind(kProtocolMini);
        doc_.SetTcpProtocolFactory([this](const std::string&, int) -> std::unique_ptr<DX3Protocol> {
            auto s = std::make_unique<ScriptedStream>(true);
            stream = s.get();
            stream->respond = [this](const std::string& request) { return Respond(request); };
            auto h = std::make_unique<HiccupStream>(std::move(s));
            line = h.get();
            return std::make_unique<MiniProtocol>(std::move(h), 1);
        });
    }

    // Connects the document as the main window does before it hands the link over.
    bool Connect() { return doc_.Connect(false) == CVexa3Doc::kStateOnline; }
    DeviceLinkSource Source() {
        return [this](bool) { return DeviceLink{&doc_, doc_.GetProtocol()}; };
    }
    CVexa3Doc& Document() { return doc_; }
    // The text commands received, in order.
    const std::vector<std::string>& Commands() const { return commands_; }

    std::string firmware = "0A463B8B";
    BlockDevice blocks;
    // The first wait for the reply to a write's last frame times out; with `finalNeverComes`
    // the second one too.
    bool lateFinal = false;
    bool finalNeverComes = false;
    ScriptedStream* stream = nullptr;
    HiccupStream* line = nullptr;

private:
    std::string Respond(const std::string& request) {
        if (request.find("SV ") != std::string::npos) return RespondToBlock(request);
        const size_t etx = request.find('\x03');
        const std::string command = request.size() > 3 ? request.substr(3, etx - 3) : std::string();
        commands_.push_back(command);
        std::string text = command;
        if (command == "PV SY 111") text = "PV SY 111 5";
        if (command == "GP") text = firmware;
        return MiniReply(1, text);
    }

    // Frames of a write are told apart from the read requests by their size; the last one is
    // the frame after which at most one frame's worth of items is left.
    std::string RespondToBlock(const std::string& request) {
        const std::vector<SentBlock> sent = SentBlocks(request);
        const std::string block = sent.empty() ? std::string() : sent.back().data;
        const bool dataFrame = block.size() > 7;
        if (dataFrame && total_ == 0) {
            total_ = U32From(block, 5);
            received_ = block.size() - 9;
        } else if (dataFrame) {
            received_ += block.size() - 5;
        }
        if (dataFrame && finalSeen_ == false && received_ >= total_ + 4) {
            finalSeen_ = true;
            if (finalNeverComes) return "";
        }
        std::string reply = blocks.Respond(request);
        if (dataFrame && lateFinal && !finalSeen_ && total_ - 1 - received_ <= 502) {
            line->TimeOutFirstReadAfterWrites(stream->writeCalls + 1);
            lateFinal = false;
        }
        return reply;
    }

    ComPortTable ports_;
    CVexa3Doc doc_;
    std::vector<std::string> commands_;
    uint64_t total_ = 0;
    uint64_t received_ = 0;
    bool finalSeen_ = false;
};

}  // namespace qs::test
