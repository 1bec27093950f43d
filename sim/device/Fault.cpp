#include "device/Fault.h"

#include "wire/NumberText.h"

#include <vector>

namespace sim {
namespace {

bool ParseUnsigned(std::string_view text, int base, uint64_t limit, int64_t& out) {
    uint64_t v = 0;
    if (!ParseUnsignedText(text, base, limit, v)) return false;
    out = static_cast<int64_t>(v);
    return true;
}

// "\xHH" gives the byte HH and "\\" a backslash; every other character stands for itself.
bool ParsePrefix(std::string_view text, Bytes& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\\') {
            out.push_back('\\');
            ++i;
            continue;
        }
        int64_t v = 0;
        if (i + 3 >= text.size() || text[i + 1] != 'x' || !ParseUnsigned(text.substr(i + 2, 2), 16, 0xFF, v)) {
            return false;
        }
        out.push_back(static_cast<char>(v));
        i += 3;
    }
    return true;
}

struct KindInfo {
    const char* name;
    FaultKind kind;
    enum { None, Optional, Required } value;
    int base;
    uint64_t limit;
    int64_t defaultValue;
};

const KindInfo kKinds[] = {
    {"delay", FaultKind::Delay, KindInfo::Required, 10, 600000, 0},
    {"drop", FaultKind::Drop, KindInfo::None, 10, 0, 0},
    {"noise", FaultKind::Noise, KindInfo::Optional, 10, 4096, 8},
    {"bad-lrc", FaultKind::BadLrc, KindInfo::None, 10, 0, 0},
    {"no-cr", FaultKind::NoCr, KindInfo::None, 10, 0, 0},
    {"long-reply", FaultKind::LongReply, KindInfo::Optional, 10, 65536, 5000},
    {"reject", FaultKind::Reject, KindInfo::Required, 10, 99, 0},
    {"status", FaultKind::Status, KindInfo::Required, 16, 0xFFFF, 0},
    {"close", FaultKind::Close, KindInfo::None, 10, 0, 0},
    {"close-after", FaultKind::CloseAfter, KindInfo::Required, 10, 1000000000, 0},
    {"bad-crc", FaultKind::BadCrc, KindInfo::None, 10, 0, 0},
    {"length", FaultKind::Length, KindInfo::Optional, 10, 0xFFFFFFFFu, 0xFFFFFFFFu},
    {"empty-block", FaultKind::EmptyBlock, KindInfo::None, 10, 0, 0},
    {"short-reply", FaultKind::ShortReply, KindInfo::None, 10, 0, 0},
};

}  // namespace

std::optional<Fault> Fault::Parse(std::string_view text, std::string& error) {
    error.clear();
    // "on=" takes the rest of the text, commas and all.
    std::optional<std::string_view> on;
    if (size_t pos = text.find(",on="); pos != std::string_view::npos) {
        on = text.substr(pos + 4);
        text = text.substr(0, pos);
    }
    std::vector<std::string_view> parts;
    while (true) {
        size_t comma = text.find(',');
        parts.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    std::string_view head = parts[0];
    size_t eq = head.find('=');
    std::string_view name = head.substr(0, eq);
    std::optional<std::string_view> value;
    if (eq != std::string_view::npos) value = head.substr(eq + 1);

    Fault f;
    // Shorthands for the envelope's own faults.
    if (name == "late-final" || name == "no-final" || name == "reject-init" || name == "reject-block") {
        f.finalOnly = name == "late-final" || name == "no-final";
        if (name == "late-final") {
            f.kind = FaultKind::Delay;
            if (!value || !ParseUnsigned(*value, 10, 600000, f.value)) {
                error = "late-final needs a delay in milliseconds (0-600000)";
                return std::nullopt;
            }
        } else if (name == "no-final") {
            f.kind = FaultKind::Drop;
            if (value) {
                error = "no-final takes no value";
                return std::nullopt;
            }
        } else {
            f.kind = FaultKind::Status;
            std::string_view status = value.value_or("");
            int64_t block = 0;
            if (name == "reject-block") {
                size_t colon = status.find(':');
                if (colon == std::string_view::npos || !ParseUnsigned(status.substr(0, colon), 10, 65535, block)) {
                    error = "reject-block needs K:HHHH (block number, status word in hex)";
                    return std::nullopt;
                }
                status = status.substr(colon + 1);
            }
            f.block = static_cast<int>(block);
            if (!ParseUnsigned(status, 16, 0xFFFF, f.value)) {
                error = std::string(name) + " needs a status word in hex (e.g. 8001)";
                return std::nullopt;
            }
        }
    } else {
        const KindInfo* kind = nullptr;
        for (const KindInfo& k : kKinds) {
            if (name == k.name) kind = &k;
        }
        if (!kind) {
            error = "unknown fault \"" + std::string(name) + "\"";
            return std::nullopt;
        }
        f.kind = kind->kind;
        f.value = kind->defaultValue;
        if (kind->value == KindInfo::None && value) {
            error = std::string(name) + " takes no value";
            return std::nullopt;
        }
        if (kind->value == KindInfo::Required && !value) {
            error = std::string(name) + " needs a value";
            return std::nullopt;
        }
        if (value && !ParseUnsigned(*value, kind->base, kind->limit, f.value)) {
            error = "bad value for " + std::string(name) + ": \"" + std::string(*value) + "\"";
            return std::nullopt;
        }
        if (f.kind == FaultKind::CloseAfter && f.value < 1) {
            error = "close-after needs a frame count of at least 1";
            return std::nullopt;
        }
    }

    for (size_t i = 1; i < parts.size(); ++i) {
        std::string_view part = parts[i];
        size_t peq = part.find('=');
        std::string_view key = part.substr(0, peq);
        std::string_view arg = peq == std::string_view::npos ? std::string_view() : part.substr(peq + 1);
        int64_t v = 0;
        bool ok = true;
        if (key == "final" && peq == std::string_view::npos) {
            f.finalOnly = true;
        } else if (key == "code") {
            ok = ParseUnsigned(arg, 16, 0xFFFF, v);
            f.code = static_cast<uint16_t>(v);
        } else if (key == "block") {
            ok = ParseUnsigned(arg, 10, 65535, v);
            f.block = static_cast<int>(v);
        } else if (key == "address") {
            ok = ParseUnsigned(arg, 10, 99, v);
            f.address = static_cast<int>(v);
        } else if (key == "skip") {
            ok = ParseUnsigned(arg, 10, 1000000000, v);
            f.skip = static_cast<int>(v);
        } else if (key == "count") {
            ok = ParseUnsigned(arg, 10, 1000000000, v);
            f.count = static_cast<int>(v);
        } else {
            error = "unknown modifier \"" + std::string(part) + "\"";
            return std::nullopt;
        }
        if (!ok) {
            error = "bad modifier \"" + std::string(part) + "\"";
            return std::nullopt;
        }
    }
    if (on) {
        Bytes prefix;
        if (!ParsePrefix(*on, prefix)) {
            error = "bad on= prefix (\\xHH for a byte, \\\\ for a backslash)";
            return std::nullopt;
        }
        f.prefix = std::move(prefix);
    }
    return f;
}

bool Fault::Matches(const FrameTraits& frame) const {
    switch (kind) {
    case FaultKind::NoCr:
        if (frame.framing != Framing::Terminal) return false;
        break;
    case FaultKind::BadLrc:
        if (frame.framing != Framing::Mini) return false;
        break;
    case FaultKind::Reject:
        if (frame.binary) return false;
        break;
    case FaultKind::Status:
    case FaultKind::BadCrc:
    case FaultKind::Length:
    case FaultKind::EmptyBlock:
    case FaultKind::ShortReply:
        if (!frame.binary) return false;
        break;
    case FaultKind::CloseAfter:
        if (frame.connectionFrame != value) return false;
        break;
    default:
        break;
    }
    if (address && frame.address != *address) return false;
    if (code && frame.code != code) return false;
    if (block && frame.block != block) return false;
    if (finalOnly && !frame.final) return false;
    if (prefix && frame.payload.substr(0, prefix->size()) != *prefix) return false;
    return true;
}

std::string Fault::Help() {
    return R"(  A fault is KIND[=VALUE][,MODIFIER...]; every --fault adds one, and all that match a frame act.
  Kinds:
    delay=MS            hold the reply back MS milliseconds (0-600000); other links are served meanwhile
    drop                send no reply (the request is still acted on)
    noise[=N]           send N bytes of noise (never *, STX, ETX, CR or LF) before the reply (default 8)
    bad-lrc             Minicomputer reply with a wrong LRC
    no-cr               Terminal reply that ends in LF without CR
    long-reply[=N]      pad the reply's text or block to N bytes (default 5000, beyond the 4096 a reader takes)
    reject=NN           refuse a text command with "NO" and NN (00-99), without acting on it
    status=HHHH         refuse a block with status word HHHH (hex), without acting on it
    close               close the TCP connection instead of replying
    close-after=N       close a TCP connection when its N-th frame arrives (that frame gets no reply)
    bad-crc             block 0 of a read announces a wrong CRC-32
    length[=N]          block 0 of a read announces N bytes (default 4294967295)
    empty-block         a read's data block answers the head and status only
    short-reply         cut a block reply to 14 bytes (with block=0: the first reply of a read)
    late-final=MS       same as delay=MS,final: the last acknowledgement of a write comes late
    no-final            same as drop,final: the last acknowledgement of a write never comes
    reject-init=HHHH    same as status=HHHH,block=0: refuse the start of a read or a write
    reject-block=K:HHHH same as status=HHHH,block=K
  Modifiers (the frames a fault hits; default every frame its kind applies to):
    address=N           only frames to device N
    code=HHHH           only blocks with transfer code HHHH (hex)
    block=K             only read block K (0 = the first request) or write frame K (0 = initiation,
                        1 = the first data frame)
    final               only the frame that completes a write
    skip=N              let the first N matching frames through untouched
    count=N             act on N matching frames, then no more
    on=PREFIX           only frames whose text (or unescaped block) starts with PREFIX; must come last,
                        takes the rest of the fault, commas included; \xHH is a byte, \\ a backslash
  Examples: --fault reject=06,on=PC  --fault drop,count=2  --fault bad-lrc,skip=1,count=1
            --fault reject-block=3:8003,code=0418  --fault late-final=4500  --fault close-after=5
)";
}

}  // namespace sim
