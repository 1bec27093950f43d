#include "sidedocs/equations/EquationDestinations.h"

#include "programdata/ParamDictionary.h"

namespace qs {
namespace {

// Dictionary directories and data types of the destination registers.
constexpr unsigned kDirSystemCommands = 30;
constexpr unsigned kDirDigitalOutputs = 31;
constexpr unsigned kDirUserData = 32;
constexpr unsigned kDirAnalogOutputs = 35;
constexpr unsigned kDirNone = 50;
constexpr unsigned kTypeFlag = 6;
constexpr unsigned kTypeFloat = 4;
constexpr unsigned kTypeTimer = 7;
constexpr unsigned kTypeDigital = 9;
// Digital outputs 1-78 are instances 43-120 of their register.
constexpr int kFirstDigOutInstance = 43;
constexpr unsigned kNotUsedInstance = 199;

}  // namespace

std::string_view EquationDestinations::Name(int type) {
    if (type == kTempBool) return "TEMPBOOL";
    if (type == kUserBool) return "USERBOOL";
    if (type == kTempFloat) return "TEMPFLOAT";
    if (type == kUserFloat) return "USERFLOAT";
    if (type >= kDigOutFirst && type <= kDigOutLast) return "DIGOUT";
    if (type == kUserAlarm) return "Set User Alarm";
    if (type >= kTimerFirst && type <= kTimerLast) return "TIMER";
    if (type == kComment) return "<COMMENT>";
    if (type >= kAnaOutFirst && type <= kAnaOutLast) return "ANA_OUT";
    if (type == kNotUsed) return "<NOT USED>";
    return "";
}

bool EquationDestinations::HasRegister(int type) {
    return Valid(type) && type != kTempBool && type != kTempFloat && type != kComment && type != kNotUsed;
}

uint32_t EquationDestinations::RegisterId(int type, int index) {
    const auto below = [](int index) { return static_cast<unsigned>(index - 1) & 0xFFu; };
    if (type == kUserBool) return MakeRegisterId(0, kTypeFlag, kDirUserData, 0, below(index));
    if (type == kUserFloat) return MakeRegisterId(0, kTypeFloat, kDirUserData, 0, below(index));
    if (type >= kDigOutFirst && type <= kDigOutLast) {
        return MakeRegisterId(0, kTypeDigital, kDirDigitalOutputs, 0,
                              static_cast<unsigned>(kFirstDigOutInstance + type - kDigOutFirst));
    }
    if (type == kUserAlarm) return MakeRegisterId(0, kTypeFlag, kDirSystemCommands, 0, 0);
    if (type >= kTimerFirst && type <= kTimerLast) {
        const unsigned position = type == kTimerFirst ? below(index) : static_cast<unsigned>(type - kTimerFirst);
        return MakeRegisterId(0, kTypeTimer, kDirSystemCommands, position, 0);
    }
    if (type >= kAnaOutFirst && type <= kAnaOutLast) {
        return MakeRegisterId(0, kTypeFloat, kDirAnalogOutputs, 0, static_cast<unsigned>(type - kAnaOutFirst));
    }
    if (type == kNotUsed) return MakeRegisterId(0, 0, kDirNone, 0, kNotUsedInstance);
    return 0;
}

int EquationDestinations::FindByPrefix(std::string_view token) {
    for (int type = 0; type < kTypes; ++type) {
        const std::string_view name = Name(type);
        if (token.substr(0, name.size()) == name) return type;
    }
    return -1;
}

// Each test below asks for exactly the register RegisterId gives back, so a destination read
// from the device is sent again unchanged.
std::optional<EquationDestinations::Destination> EquationDestinations::FromRegister(uint32_t id) {
    if (auto operand = OperandFromRegister(id)) return operand;
    if ((id >> 28) != 0 || RegisterIdPosition(id) != 0) return std::nullopt;
    const unsigned directory = RegisterIdDirectory(id);
    const unsigned dataType = RegisterIdDataType(id);
    const int instance = static_cast<int>(RegisterIdInstance(id));
    if (directory == kDirSystemCommands && dataType == kTypeFlag && instance == 0) return Destination{kUserAlarm, 0};
    if (directory == kDirDigitalOutputs && dataType == kTypeDigital) {
        // The instance was raised by one on reading: outputs 1-78 are 44-121 here.
        const int type = instance - (kFirstDigOutInstance + 1) + kDigOutFirst;
        if (type >= kDigOutFirst && type <= kDigOutLast) return Destination{type, type - kDigOutFirst + 1};
    }
    if (directory == kDirAnalogOutputs && dataType == kTypeFloat) {
        const int type = instance - 1 + kAnaOutFirst;
        if (type >= kAnaOutFirst && type <= kAnaOutLast) return Destination{type, instance};
    }
    return std::nullopt;
}

std::optional<EquationDestinations::Destination> EquationDestinations::OperandFromRegister(uint32_t id) {
    if ((id >> 28) != 0) return std::nullopt;
    const unsigned directory = RegisterIdDirectory(id);
    const unsigned dataType = RegisterIdDataType(id);
    const unsigned position = RegisterIdPosition(id);
    const int instance = static_cast<int>(RegisterIdInstance(id));
    if (directory == kDirUserData && position == 0 && instance >= 1 && instance <= kUserRegisters) {
        if (dataType == kTypeFlag) return Destination{kUserBool, instance};
        if (dataType == kTypeFloat) return Destination{kUserFloat, instance};
    }
    if (directory == kDirSystemCommands && dataType == kTypeTimer && instance == 0 && position < kTimers) {
        return Destination{kTimerFirst, static_cast<int>(position) + 1};
    }
    return std::nullopt;
}

}  // namespace qs
