#pragma once
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "DeviceFrames.h"
#include "ScriptedDevice.h"
#include "link/TerminalProtocol.h"
#include "programdata/AppOptions.h"
#include "programdata/DefinitionSource.h"
#include "programdata/ProgramDataContext.h"

// Definition records and device replies written out by hand, byte by byte, so the model is
// checked against the file and wire layouts rather than against its own writer.
namespace qs::test {

struct Def {
    uint16_t number = 0;
    uint16_t flags = 0;
    uint8_t type = 8;
    uint8_t dir = 0;
    uint8_t position = 0;
    uint8_t instances = 0;
    float min = 0;
    float max = 0;
    std::string format = "%*d";
    uint8_t width = 0;
    uint8_t precision = 0;
    std::string name;
    std::string help;
    std::vector<std::string> options;  // written when flags bit 0 is set
};

inline void PutLe16(std::string& s, uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}

inline void PutLeFloat(std::string& s, float f) {
    uint32_t b;
    std::memcpy(&b, &f, 4);
    for (int i = 0; i < 4; ++i) s += static_cast<char>((b >> (8 * i)) & 0xFF);
}

inline void PutField(std::string& s, const std::string& text, size_t size) {
    std::string f = text.substr(0, size);
    f.resize(size, '\0');
    s += f;
}

// One definition-file record: 220 bytes, then 42 bytes per option text.
inline std::string Record(const Def& d) {
    std::string s;
    PutLe16(s, d.number);
    PutLe16(s, d.flags);
    s += static_cast<char>(d.type);
    s += static_cast<char>(d.dir);
    s += static_cast<char>(d.position);
    s += static_cast<char>(d.instances);
    PutLeFloat(s, d.min);
    PutLeFloat(s, d.max);
    PutField(s, d.format, 10);
    s += static_cast<char>(d.width);
    s += static_cast<char>(d.precision);
    PutField(s, d.name, 42);
    PutField(s, d.help, 150);
    if (d.flags & 1)
        for (const auto& o : d.options) PutField(s, o, 42);
    return s;
}

inline std::string Records(const std::vector<Def>& defs) {
    std::string s;
    for (const auto& d : defs) s += Record(d);
    return s;
}

inline Def Code(uint16_t number, const std::string& title, uint16_t flags = 0) {
    Def d;
    d.number = number;
    d.flags = flags;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%03u ", static_cast<unsigned>(number));
    d.name = digits + title;
    d.max = 9999;
    return d;
}

inline void PutBeFloat(std::vector<uint8_t>& v, float f) {
    uint32_t b;
    std::memcpy(&b, &f, 4);
    for (int i = 3; i >= 0; --i) v.push_back(static_cast<uint8_t>((b >> (8 * i)) & 0xFF));
}

// The data part of a device definition reply.
inline std::vector<uint8_t> ReplyData(uint8_t type, uint8_t dir, uint8_t pos, uint8_t instances, float min, float max,
                                      uint8_t width, uint8_t precision, const std::string& format,
                                      const std::string& markedName, const std::string& help,
                                      const std::vector<std::string>& options = {}) {
    std::vector<uint8_t> v = {type, dir, pos, 0, 0, instances};
    PutBeFloat(v, min);
    PutBeFloat(v, max);
    v.push_back(width);
    v.push_back(precision);
    auto text = [&v](const std::string& t) {
        v.insert(v.end(), t.begin(), t.end());
        v.push_back(0);
    };
    text(format);
    text(markedName);
    text(help);
    for (const auto& o : options) text(o);
    return v;
}

// The owning document as the program-code model sees it: one protocol (over a scripted
// device or to the simulator), the arm being transferred, the arms in use and their addresses.
class DeviceContext final : public ProgramDataContext {
public:
    explicit DeviceContext(std::unique_ptr<TerminalProtocol> link) : protocol(std::move(link)) {}
    DX3Protocol* Protocol() override { return protocol.get(); }
    int CurrentArm() const override { return arm; }
    int ActiveArmCount() const override { return activeArms; }
    int ArmAddress(int a) const override { return a >= 0 && a < 6 ? addresses[static_cast<size_t>(a)] : 1; }
    const AppOptions& Options() const override { return options; }
    const void* ErrorLogOwner() const override { return this; }
    void LinkFailed() override { ++linkFailures; }

    std::unique_ptr<TerminalProtocol> protocol;
    int linkFailures = 0;
    int arm = 0;
    int activeArms = 6;
    std::vector<int> addresses = {1, 2, 3, 4, 5, 6};
    AppOptions options;
};

// Definition files in `dir` only; nothing is ever built.
inline DefinitionSource FilesIn(const std::string& dir) {
    DefinitionSource s;
    s.searchDirs = {dir};
    s.buildDir = dir;
    return s;
}

}  // namespace qs::test
