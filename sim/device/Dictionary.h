#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace sim {

// One definition of the program-code dictionary: a program code of a directory, or a register
// that is no program code (run data, alarms, commands, user data).
struct Definition {
    // Bits of the flags word of a definition record.
    static constexpr uint16_t kOption = 0x01;
    static constexpr uint16_t kReadOnly = 0x02;
    static constexpr uint16_t kSequential = 0x10;
    static constexpr uint16_t kRatio = 0x20;
    static constexpr uint16_t kUnloading = 0x40;
    static constexpr uint16_t kHybrid = 0x80;
    static constexpr uint16_t kBlending = kSequential | kRatio | kHybrid;
    static constexpr int kLevelNone = 0;  // the device reports a code without security level as 0

    int number = -1;         // program-code number; -1 for a register that is no code
    int directoryType = -1;  // the directory of a code (0-7); -1 for a register that is no code
    uint16_t flags = 0;
    uint8_t dataType = 0;
    uint8_t directory = 0;  // dictionary directory 0-38
    uint8_t position = 0;
    uint8_t instances = 0;
    float min = 0;  // as the definition record carries them
    float max = 0;
    double exactMin = 0;  // the file's numbers before rounding, for the integer ranges
    double exactMax = 0;
    std::string format;
    uint8_t width = 0;
    uint8_t precision = 0;
    std::string name;
    std::string help;
    std::vector<std::string> options;
    std::string defaultValue;  // codes only
    int level = kLevelNone;    // codes only: 1-5, or kLevelNone
    std::string file;          // where the block is, for messages
    int line = 0;

    bool Has(uint16_t bits) const { return (flags & bits) == bits; }
    // The register (dictionary directory, data type, position).
    std::tuple<int, int, int> Register() const { return {directory, dataType, position}; }
    // Whether two definitions tell a register the same way: every field a definition reply
    // carries (the code number, default and level are not part of it).
    bool SameRecord(const Definition& other) const;
};

// A directory of program codes as the device knows it.
struct DirectoryKind {
    int type;                 // 0-7
    const char* name;         // also the file name without ".txt"
    const char* mnemonic;     // "CF"; "M" and "P" take the instance digit; "" for Recipe (two digits)
    int instances;            // 6 meters, 6 products, 50 recipes, else 1
    bool startsAtFirst;       // subdirectory 0 holds codes
};

// The whole dictionary: the codes of the eight directories and the registers of the parameter
// dictionary (the codes' registers and those that are no code).
class Dictionary {
public:
    static constexpr int kDirectoryCount = 8;
    static constexpr int kRecipe = 5;
    static constexpr int kSystem = 1;
    static constexpr int kDictionaryDirectories = 39;
    static constexpr int kDataTypes = 10;

    static const std::array<DirectoryKind, kDirectoryCount>& Kinds();
    // The directory type and instance (0-based) a two-character mnemonic names: "SY" -> (1, 0),
    // "M3" -> (3, 2), "07" -> (5, 6); nullopt for none.
    static std::optional<std::pair<int, int>> FromMnemonic(std::string_view mnemonic);

    // The code `number` of directory `type`, or null.
    const Definition* Code(int type, int number) const;
    const std::map<int, Definition>& Codes(int type) const { return codes_.at(static_cast<size_t>(type)); }
    // The definition of register (directory, data type, position), or null.
    const Definition* Register(int directory, int dataType, int position) const;
    // Every register once, in (dictionary directory, data type, position) order.
    std::vector<const Definition*> Registers() const;
    const std::vector<Definition>& Others() const { return others_; }

    // Adds a definition; the parser has checked it. "" or the fault ("file:line: what") when
    // the code number is taken.
    std::string AddCode(int type, Definition definition);
    void AddRegister(Definition definition) { others_.push_back(std::move(definition)); }
    // Indexes the registers once everything is added: "" or the first fault (a register told
    // twice in different ways, or by two codes of one directory, or a gap in the positions).
    std::string Index();

private:
    std::array<std::map<int, Definition>, kDirectoryCount> codes_;
    std::vector<Definition> others_;
    std::map<std::tuple<int, int, int>, const Definition*> registers_;
};

}  // namespace sim
