#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qs::dictgen {

// Flag bits of a definition record.
inline constexpr uint16_t kFlagOption = 0x01;
inline constexpr uint16_t kFlagReadOnly = 0x02;
inline constexpr uint16_t kFlagSequential = 0x10;
inline constexpr uint16_t kFlagRatio = 0x20;
inline constexpr uint16_t kFlagUnloading = 0x40;
inline constexpr uint16_t kFlagHybrid = 0x80;
inline constexpr uint16_t kFlagBlending = 0xB0;

inline constexpr int kLevelNone = 255;

// One block of a dictionary source file: a program code of a directory file, or a register of
// the registers file (which has no number, default or level). Values are kept as read; the
// validator decides whether they fit.
struct DictEntry {
    std::string file;  // source path, for messages
    int line = 0;      // line of the block's first key
    std::map<std::string, int> keyLines;  // line of each key seen

    bool isCode = false;  // code block of a directory file, else register block
    std::string directory;  // directory the file describes; empty for the registers file
    long long number = -1;  // program-code number (codes only)

    std::string name;
    long long dictionary = 0;
    long long dataType = 0;
    long long position = 0;
    long long instances = 0;
    uint16_t flags = 0;
    float min = 0.0f;
    float max = 0.0f;
    std::string format;
    long long width = 0;
    long long precision = 0;
    std::string help;
    std::vector<std::string> options;
    std::vector<int> optionLines;
    std::string defaultValue;
    int level = kLevelNone;  // 0-254 = level 1-255 as shown, 255 = none

    int LineOf(const std::string& key) const {
        auto it = keyLines.find(key);
        return it == keyLines.end() ? line : it->second;
    }
};

}  // namespace qs::dictgen
