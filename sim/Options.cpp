#include "Options.h"

#include <fstream>
#include <iterator>

#include "device/Fault.h"
#include "wire/NumberText.h"
#include "device/Persona.h"

namespace sim {
namespace {

bool ParseNumber(const std::string& text, int base, uint64_t low, uint64_t high, uint64_t& out) {
    uint64_t v = 0;
    if (!ParseUnsignedText(text, base, UINT64_MAX / 16, v, 12) || v < low || v > high) return false;
    out = v;
    return true;
}

bool ParseEndpoint(const std::string& text, TcpEndpoint& out) {
    const size_t colon = text.rfind(':');
    std::string host = colon == std::string::npos ? "127.0.0.1" : text.substr(0, colon);
    std::string port = colon == std::string::npos ? text : text.substr(colon + 1);
    uint64_t p = 0;
    if (host.empty() || !ParseNumber(port, 10, 0, 65535, p)) return false;
    out.host = host;
    out.port = static_cast<int>(p);
    return true;
}

// "1,2,3" or ranges "1-4,7".
bool ParseAddresses(const std::string& text, std::vector<int>& out) {
    std::vector<int> list;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        size_t dash = item.find('-');
        uint64_t a = 0, b = 0;
        if (dash == std::string::npos) {
            if (!ParseNumber(item, 10, 0, 99, a)) return false;
            b = a;
        } else if (!ParseNumber(item.substr(0, dash), 10, 0, 99, a) || !ParseNumber(item.substr(dash + 1), 10, 0, 99, b) ||
                   b < a) {
            return false;
        }
        for (uint64_t v = a; v <= b; ++v) list.push_back(static_cast<int>(v));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (list.empty()) return false;
    out = std::move(list);
    return true;
}

// "ADDR=HEX16[,HEX16...]": the EQ states of one address, in the order the polls take them.
bool ParseStatus(const std::string& text, StatusConfig& out) {
    const size_t eq = text.find('=');
    uint64_t address = 0;
    if (eq == std::string::npos || !ParseNumber(text.substr(0, eq), 10, 0, 99, address)) return false;
    std::vector<std::string> states;
    size_t start = eq + 1;
    for (;;) {
        const size_t comma = text.find(',', start);
        std::optional<std::string> state = StatusCommands::ParseState(
            std::string_view(text).substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!state || states.size() >= 1000) return false;
        states.push_back(*state);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    out.states[static_cast<int>(address)] = std::move(states);
    return true;
}

bool ReadReport(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string text;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<size_t>(in.gcount()));
        if (text.size() > StatusCommands::kMaxReport) return false;
    }
    out = std::move(text);
    return true;
}

}  // namespace

std::optional<Options> Options::Parse(const std::vector<std::string>& args, std::string& error) {
    Options o;
    error.clear();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& flag = args[i];
        if (flag == "--help" || flag == "-h") {
            o.help = true;
            continue;
        }
        if (flag == "--no-dictionary") {
            o.dictionary.clear();
            continue;
        }
        if (flag == "--display-master") {
            o.display.master = true;
            continue;
        }
        if (flag == "--display-handover") {
            o.display.handover = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = flag.rfind("--", 0) == 0 ? flag + " needs a value" : "unexpected argument \"" + flag + "\"";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        uint64_t n = 0;
        auto bad = [&](const char* what) {
            error = "bad value for " + flag + ": \"" + value + "\" (" + what + ")";
            return std::nullopt;
        };
        if (flag == "--tcp") {
            TcpEndpoint e;
            if (!ParseEndpoint(value, e)) return bad("[HOST:]PORT");
            o.tcp.push_back(e);
        } else if (flag == "--display-tcp") {
            TcpEndpoint e;
            if (!ParseEndpoint(value, e)) return bad("[HOST:]PORT");
            o.displayTcp.push_back(e);
        } else if (flag == "--arm-flags") {
            if (std::string why = o.display.AddArmFlags(value); !why.empty()) return bad(why.c_str());
        } else if (flag == "--display-fault") {
            if (std::string why = o.display.AddFault(value); !why.empty()) return bad(why.c_str());
        } else if (flag == "--pty") {
            if (value.empty()) return bad("a path");
            o.pty.push_back(value);
        } else if (flag == "--addresses") {
            if (!ParseAddresses(value, o.addresses)) return bad("addresses 0-99, e.g. 1,2,3 or 1-6");
        } else if (flag == "--persona") {
            if (!Persona::FromName(value)) return bad("see --help for the personas");
            o.persona = value;
        } else if (flag == "--log") {
            o.log = value;
        } else if (flag == "--state") {
            o.state = value;
        } else if (flag == "--fault") {
            std::string why;
            if (!Fault::Parse(value, why)) return bad(why.c_str());
            o.faults.push_back(value);
        } else if (flag == "--dictionary") {
            if (value.empty()) return bad("a folder");
            o.dictionary = value;
        } else if (flag == "--data-dir") {
            o.dataDir = value;
        } else if (flag == "--cf") {
            if (value.size() > 4000) return bad("at most 4000 characters");
            o.cf = value;
        } else if (flag == "--block-size") {
            if (!ParseNumber(value, 10, 1, 4000, n)) return bad("1-4000");
            o.blockSize = n;
        } else if (flag == "--write-limit") {
            if (!ParseNumber(value, 10, 0, 0xFFFFFFFFu, n)) return bad("0-4294967295");
            o.writeLimit = static_cast<uint32_t>(n);
        } else if (flag == "--panel-handover") {
            if (!ParseNumber(value, 16, 0, 0xFFFF, n)) return bad("a status word in hex, e.g. 0000, 800F or 801C");
            o.panelHandoverStatus = static_cast<uint16_t>(n);
        } else if (flag == "--pad") {
            if (!ParseNumber(value, 16, 0, 0xFF, n)) return bad("a byte in hex");
            o.pad = static_cast<uint8_t>(n);
        } else if (flag == "--status") {
            if (!ParseStatus(value, o.status)) return bad("ADDR=HHHHHHHHHHHHHHHH[,HHHHHHHHHHHHHHHH...], 16 hex digits a state");
        } else if (flag == "--report") {
            if (!ReadReport(value, o.status.report)) return bad("a readable file of at most 65536 bytes");
        } else if (flag == "--log-range") {
            if (std::string why = o.logs.Add(value); !why.empty()) return bad(why.c_str());
        } else if (flag == "--bays") {
            if (value.size() > 6) return bad("at most 6 letters");
            o.logs.bays = value;
        } else if (flag == "--frame-timeout") {
            if (!ParseNumber(value, 10, 1, 600000, n)) return bad("1-600000 ms");
            o.frameTimeoutMs = static_cast<int64_t>(n);
        } else {
            error = "unknown option \"" + flag + "\" (see --help)";
            return std::nullopt;
        }
    }
    if (o.tcp.empty() && o.pty.empty() && o.displayTcp.empty()) o.tcp.push_back({"127.0.0.1", kDefaultPort});
    return o;
}

std::string Options::DefaultDictionary() { return DURAVANE_SIM_SOURCE_DIR "/src/resources/dictionary"; }

std::string Options::Help() {
    std::string text = R"(Usage: duravane-sim [OPTION...]
A simulated Duravane III controller on the command port: text commands in Terminal and
Minicomputer framing and "SV " block transfers, over TCP and serial lines (a pty).

Links (without --tcp, --pty and --display-tcp it listens on 127.0.0.1:7734):
  --tcp [HOST:]PORT     listen for TCP connections (host default 127.0.0.1; port 0 = any free port);
                        repeatable; any number of clients at once
  --pty LINK            open a pty, make it raw, and link its slave to the path LINK (replacing an
                        older symbolic link there); the program under test opens LINK and may close
                        and reopen it at will; repeatable

Device:
  --addresses LIST      device addresses answered, e.g. 1,2,3 or 1-6 (default 1); frames to other
                        addresses are logged and not answered
  --persona NAME        what answers (default controller):
)";
    for (const auto& [name, description] : Persona::Described()) {
        text += "                          " + name + std::string(name.size() < 16 ? 16 - name.size() : 1, ' ') +
                description + "\n";
    }
    text += R"(  --state FILE          values and security levels to start from. One code a line:
                          MN NNN LEVEL VALUE
                        mnemonic (2 characters: CF SY AR M1 P1 BA BB 01 ...), code number 0-999,
                        security level 1-255 or "-" for 1, then after one blank the value (to the end
                        of the line; may be empty or hold blanks). "[1,3]" makes the following lines
                        apply to devices 1 and 3, "[*]" (the start) to every address served. Blank
                        lines and lines starting with # are skipped. The file's values and levels
                        stand over the dictionary's defaults (and are not checked against it);
                        without a dictionary only the file's codes exist.
  --dictionary DIR      the program-code dictionary source folder (Config.txt ... Bay B.txt and
                        Registers.txt, all nine required); default
                        )" + DefaultDictionary() + R"(
                        Every code of every directory exists at every address under each of its
                        mnemonics (CF SY AR M1-M6 P1-P6 01-50 BA BB), starting with the
                        dictionary's default value and security level ("none" reads as 0 with
                        XV). Codes not in it are refused with NO14. PC on a read-only code is
                        refused with NO06; a text longer than the code's length, a number outside
                        its min..max or not a number of its data type with NO03 (integers in the
                        base of the code's format, reals compared as the nearest float; blanks and
                        leading zeros allowed). The accepted text is kept as sent. A file that
                        breaks the folder's README rules stops the simulator with exit status 2
                        and "FILE:LINE: what".
  --no-dictionary       no dictionary: only the codes of --state exist; 0414 and 0415 are refused
                        with 8002 like other malformed block requests
  --cf TEXT             the reply to CF (default "CF 14": fifth character not '0', a four-display
                        faceplate; "CF 10" is a single display)

Text commands: PV MN NNN (value), XV MN NNN (security level), PC MN NNN VALUE, XC MN NNN LEVEL,
GP (firmware identifier), LO, CF, UF (reboot for a firmware upgrade: answered "UF", and nothing
reboots), EQ (status), PT (report), BA (bays), MS A, MS B, and the
totals "VT L Pk" (L one of R G N P M: product k), "VT L rr" (recipe rr), "VT Aaa" (additive aa),
answered with address x 10000 + item x 10 + q (item k, 100 + rr, 200 + aa; q 1-5 for R G N P M, 0
for an additive). Replies echo the command, a blank and the value ("PV SY 111 5"); GP answers
eight hex digits alone; an unknown code is refused with NO14, an unknown command with NO00.
  --status ADDR=HHHHHHHHHHHHHHHH[,HHHHHHHHHHHHHHHH...]
                        the status EQ answers at that address (repeatable, one per address): 16
                        hex digits, each sent as the character 0x30 + its value ("1" -> '1',
                        "A" -> ':'); successive polls take the states in turn and the last one
                        stays (default: all 0)
  --report FILE         the report PT prints to the host (at most 65536 bytes): after the reply
                        "PT" its bytes follow on the same link as they are, outside any frame
                        (default: a short transaction report)

Blocks ("SV " + a transfer code 0x04xx + arguments, escaped, with LRC, 0x7F, 0x00 on every link):
  --data-dir DIR        data sets as files: a read of code 0x0418 serves DIR/0418.bin (block 0 answers
                        its length and CRC-32, block k its k-th chunk); a completed write of code 0x0419
                        is saved to DIR/0419.bin (the bytes the CRC covers, closing 0x00 included).
                        Without it reads are refused with 8007 and writes are kept in memory only.
  --block-size N        data bytes in each block of a read (1-4000, default 500)
  --write-limit N       largest total a write may announce; larger ones are refused with 8005
                        (default 4194304)
  Definition requests (answered from the dictionary):
    0415, 13 bytes: "SV " 0415, directory type 0-7, 0, digit 0-9, index 0-99 (u16 each)
          -> the definition of code digit x 100 + index, or 8017 when the directory has none
    0414, 11 bytes: "SV " 0414, data type 0-9, dictionary directory 0-38, position (u16 each)
          -> the definition of that register, or 8017 past the last position of the group
    Reply data: data type, dictionary directory, position, 2 unused bytes, instances, min, max
    (big-endian float32), width, precision, then NUL-terminated: format, name with the flag
    markers ({O read-only; {B blending, else {S sequential, {R ratio, {H hybrid; {U unloading),
    help, and each option text of an option list. Another size or a field out of range: 8002.
  Logs (answered per device address; the faults' block=K picks part K of a 0404 request):
    0405 / 0403 / 0407, 7 bytes: "SV " code, 2 (oldest) or 1 (newest) -> u32 number
    0404, 11 bytes: "SV " 0404, u32 transaction, u16 part (0 header, 1.. batches (1 + number % 3
          of them), 11 bay totals, 12 extra record) -> the record
    0402 / 0406, 9 bytes: "SV " code, u32 sequence number -> the event or audit-trail entry
    A number outside the log, a part past the batches or an empty log: 8001.
)" + LogOptions::Help() + R"(  --panel-handover HHHH status word answered to the operator-panel hand-over 0x0417 (default 0000;
                        e.g. 800F or 801C to refuse it). The remote-display hand-over 0x0416 is
                        never answered.
  A write is acknowledged frame by frame (status 0000); its last frame is checked: byte count
  equal to the announced total and the CRC-32 right, else 8006.

Wire details: a request is "*" NN text CR LF (Terminal) or STX NN text ETX (Minicomputer; on a pty
followed by LRC, 0x7F, 0x00), NN the device address; the framing is told per frame from its
first byte. A frame with a wrong LRC or trailer, a Terminal frame without CR, a block with an
unknown escape, or a frame to an address not served is logged and not answered.
  --pad HH              the byte sent after the LRC of a Minicomputer reply (hex, default 00)
  --frame-timeout MS    a frame half-received this long is given up (default 2000)

Display port (the remote display and the operator panel):
  --display-tcp [HOST:]PORT
                        listen for the remote display's TCP connections (its port is 7744); each
                        connection gets the demo screens at once
  --display-handover    a pty speaks the display protocol after an "SV " 0416 (remote display) or
                        an accepted 0417 (operator panel), drawing from 1 s later, until the
                        emulator sends its exit key F8 (without it the pty keeps to commands)
  --display-master      expect the replies to control frames on TCP too (a pty always expects them)
  Operator panel (after an accepted 0417 on a pty): every address of --addresses is an arm on the
  line; a poll (key F3) of an arm is answered with its status line (0x15, "Arm N idle" or "Arm N
  ATTENTION") and a poll reply (0x16), polls of other addresses are logged with an error. The
  display follows the current arm (the address of a key frame whose flags byte has bit 7 set):
  it shows that arm's number and a total moved on by the keys that arm was sent.
  --arm-flags ADDR=HH   the status flags arm ADDR reports, in hex (bit 0 attention, bit 1 F1
                        lock, bit 2 request to become current, made at its first poll only);
                        repeatable; default 00
  --display-fault FAULT repeatable:
)" + DisplayOptions::Help() + R"(  Frames sent are logged as "kind":"display" with their name in "text"; key frames received as
  "kind":"key" with "key XX", "reply XX", "poll N", "hello N" (the operator panel's key FF) or
  "exit" in "text" and in "error" whatever is
  wrong: bad start bytes, bad fixed bytes, bad CRC, a time stamp off by more than 5 s, a reply
  while not master, an unexpected reply, or a reply out of order.

Faults (--fault FAULT, repeatable):
)";
    text += Fault::Help();
    text += R"(
Output:
  --log FILE            one JSON object a line for every frame received or sent, flushed line by line:
                        {"ms":..,"direction":"rx"|"tx","transport":"tcp"|"pty","link":N,
                         "kind":"frame"|"noise"|"raw","framing":"terminal"|"mini"|"","binary":bool,
                         "address":N|null,"hex":"<bytes on the wire>","text":"<text or unescaped
                         block, \u00XX for bytes outside printable ASCII>","error":"<why not answered>"}
  --help                this text

On standard output it prints "listening tcp HOST:PORT" and "listening pty LINK" for each link,
then "ready". It ends cleanly on SIGTERM or SIGINT (exit status 0); a bad option exits with 2, a
link that cannot be opened with 1.
)";
    return text;
}

}  // namespace sim
