#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

class ParamDictionary;

// The 107 destination types of an equation line: the name the language writes, and the
// controller register a destination stands for, as it travels in a device line (arm 0, the
// instance counted from 0 where the register has instances).
class EquationDestinations {
public:
    enum Type : int {
        kTempBool = 0,
        kUserBool = 1,
        kTempFloat = 2,
        kUserFloat = 3,
        kDigOutFirst = 4,
        kDigOutLast = 81,
        kUserAlarm = 82,
        kTimerFirst = 83,
        kTimerLast = 98,
        kComment = 99,
        kAnaOutFirst = 100,
        kAnaOutLast = 105,
        kNotUsed = 106,
    };
    static constexpr int kTypes = 107;
    static constexpr int kUserRegisters = 100;  // USERBOOL and USERFLOAT 1-100
    static constexpr int kTimers = 16;          // TIMER 1-16

    static bool Valid(int type) { return type >= 0 && type < kTypes; }
    // "TEMPBOOL", "USERBOOL", ..., "Set User Alarm", "TIMER", "<COMMENT>", "ANA_OUT", "<NOT USED>";
    // "" outside the table.
    static std::string_view Name(int type);
    // Types whose result goes to a controller register: all but the two temporaries, the
    // comment and "not used".
    static bool HasRegister(int type);
    // The register of a destination (or of a destination-type operand) as a device line
    // carries it; 0 for a type without one.
    static uint32_t RegisterId(int type, int index);

    // The first type whose name `token` begins with (the number follows directly), or -1.
    static int FindByPrefix(std::string_view token);

    struct Destination {
        int type = 0;
        int index = 0;
    };
    // The destination a register names, the register's instance already counted from 1; only
    // when the destination goes out as that very register again.
    static std::optional<Destination> FromRegister(uint32_t id);
    // The named operand form (USERBOOL, USERFLOAT, TIMER) of a register, under the same rule.
    static std::optional<Destination> OperandFromRegister(uint32_t id);
};

}  // namespace qs
