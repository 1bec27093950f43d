#pragma once
// A program-data document over the build's dictionary, or over definition files made here,
// with its TCP/IP link given to a scripted device (ScriptedDevice::Attach); and ".D3X" images
// written out by hand.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "DeviceFrames.h"
#include "ModelFixtures.h"
#include "ScriptedDevice.h"
#include "link/ComPortTable.h"
#include "link/TerminalProtocol.h"
#include "programdata/CVexa3Doc.h"
#include "programdata/DocumentObserver.h"

namespace qs::test {

// The definition files the build made from the dictionary source.
inline DefinitionSource BuiltDictionary() { return FilesIn(QS_DATA_BUILD_DIR); }

struct RecordingObserver final : DocumentObserver {
    void OnDocumentChanged(CVexa3Doc&) override { ++changes; }
    void OnStateChanged(CVexa3Doc&, int state) override { states.push_back(state); }
    int changes = 0;
    std::vector<int> states;
};

// ---- little-endian pieces of a ".D3X" image

inline void PutLe32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline uint32_t Le32At(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s.at(at + static_cast<size_t>(i)));
    return v;
}

inline std::string FileHeader(uint32_t magic, uint32_t versionBits, const std::string& description = "Duravane III.NET Data File (.D3X",
                              const std::string& notice = "notice") {
    std::string s;
    PutLe32(s, magic);
    PutLe32(s, versionBits);
    PutField(s, description, 33);
    PutField(s, notice, 33);
    return s;
}

inline uint32_t FloatBits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}

struct LinkImage {
    int32_t port = 0;
    int32_t base = 7;
    uint32_t ipv4 = 0x0A000102;  // 10.0.1.2
    std::vector<int32_t> arms = {8, 9, 10, 11, 12};
    int32_t kind = 0;
    int32_t codePage = 3;
    std::string title = "title";
    std::string description = "a description";
};

inline std::string LinkFields(const LinkImage& l, bool withIpv4 = true) {
    std::string s;
    PutLe32(s, static_cast<uint32_t>(l.port));
    PutLe32(s, static_cast<uint32_t>(l.base));
    if (withIpv4) PutLe32(s, l.ipv4);
    for (int32_t a : l.arms) PutLe32(s, static_cast<uint32_t>(a));
    PutLe32(s, static_cast<uint32_t>(l.kind));
    PutLe32(s, static_cast<uint32_t>(l.codePage));
    PutField(s, l.title, 33);
    PutField(s, l.description, 33);
    return s;
}

// One 54-byte value record; `levelWord` is the int16 as written.
inline std::string ValueRecordBytes(int32_t type, int32_t instance, int32_t number, const std::string& value,
                                    uint16_t levelWord = 0xFFFF) {
    std::string s;
    PutLe32(s, static_cast<uint32_t>(type));
    PutLe32(s, static_cast<uint32_t>(instance));
    PutLe32(s, static_cast<uint32_t>(number));
    PutField(s, value, 40);
    s += static_cast<char>(levelWord & 0xFF);
    s += static_cast<char>(levelWord >> 8);
    return s;
}

inline constexpr uint32_t kMagic = 30520;
inline constexpr uint32_t kOldMagic = 30519;
inline const uint32_t kVersion1126 = FloatBits(11.26f);

}  // namespace qs::test
