#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// The kinds of device (or line) the simulator can be.
struct Persona {
    std::string name;
    uint32_t firmwareId = 0;    // the GP reply, eight hexadecimal digits
    bool echo = false;          // a loop-back cable: every byte straight back
    bool silent = false;        // reads everything, answers nothing
    bool rejectsProbe = false;  // "PV SY 111" refused with NO00, as an operator panel does
    bool readOnly = false;      // PC and XC refused with NO06

    static std::optional<Persona> FromName(std::string_view name);
    // Every name with a one-line description, for the help text.
    static std::vector<std::pair<std::string, std::string>> Described();
};

}  // namespace sim
