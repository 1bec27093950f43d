#include "wire/FrameCodec.h"

namespace sim {

uint8_t FrameCodec::Lrc(std::string_view data) {
    uint8_t lrc = 0;
    for (char c : data) lrc ^= static_cast<uint8_t>(c);
    return lrc;
}

Bytes FrameCodec::Escape(std::string_view data) {
    Bytes out;
    out.reserve(data.size() + data.size() / 4 + 4);
    for (char c : data) {
        switch (c) {
        case kStx: out += {kEsc, 'S'}; break;
        case kEtx: out += {kEsc, 'E'}; break;
        case kDel: out += {kEsc, 'P'}; break;
        case kEsc: out += {kEsc, kEsc}; break;
        default: out.push_back(c);
        }
    }
    return out;
}

UnescapeResult FrameCodec::Unescape(std::string_view data) {
    UnescapeResult result;
    result.data.reserve(data.size());
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] != kEsc) {
            result.data.push_back(data[i]);
            continue;
        }
        if (i + 1 >= data.size()) {
            result.clean = false;
            break;
        }
        switch (data[++i]) {
        case 'S': result.data.push_back(kStx); break;
        case 'E': result.data.push_back(kEtx); break;
        case 'P': result.data.push_back(kDel); break;
        case kEsc: result.data.push_back(kEsc); break;
        default:
            // The program's reader turns this into 0x00; its writer never produces it.
            result.data.push_back('\0');
            result.clean = false;
        }
    }
    return result;
}

std::string FrameCodec::AddressDigits(int address) {
    if (address < 0) address = 0;
    if (address > 99) address = 99;
    return {static_cast<char>('0' + address / 10), static_cast<char>('0' + address % 10)};
}

Bytes FrameCodec::TerminalFrame(int address, std::string_view text, bool withCr) {
    Bytes out;
    out.reserve(text.size() + 5);
    out.push_back(kStar);
    out += AddressDigits(address);
    out += text;
    if (withCr) out.push_back(kCr);
    out.push_back(kLf);
    return out;
}

Bytes FrameCodec::MiniFrame(int address, std::string_view payload, bool binary, bool trailer, char pad,
                            bool corruptLrc) {
    Bytes out;
    out.reserve(payload.size() * (binary ? 2 : 1) + 6);
    out.push_back(kStx);
    out += AddressDigits(address);
    out += binary ? Escape(payload) : Bytes(payload);
    out.push_back(kEtx);
    if (trailer) {
        uint8_t lrc = Lrc(std::string_view(out).substr(1));
        if (corruptLrc) lrc = static_cast<uint8_t>(~lrc);
        out.push_back(static_cast<char>(lrc));
        out.push_back(pad);
    }
    return out;
}

Bytes FrameCodec::MiniRequest(int address, std::string_view payload, bool binary, bool serial) {
    Bytes out = MiniFrame(address, payload, binary, false, 0);
    if (binary || serial) {
        out.push_back(static_cast<char>(Lrc(std::string_view(out).substr(1))));
        out.push_back(kDel);
        out.push_back('\0');
    }
    return out;
}

}  // namespace sim
