#include "device/Persona.h"

namespace sim {
namespace {

// Firmware identifiers the program knows: controller 11.26 and 11.25, operator panel 11.00
// and 9.00; and one that is no firmware image the program knows.
constexpr uint32_t kController1126 = 0x0A463B8Bu;
constexpr uint32_t kController1125 = 0x2AF16B7Au;
constexpr uint32_t kPanel1100 = 0x32A0E748u;
constexpr uint32_t kPanel900 = 0x72F9F00Fu;
constexpr uint32_t kUnknownFirmware = 0x5EEDF00Du;

}  // namespace

std::optional<Persona> Persona::FromName(std::string_view name) {
    Persona p;
    p.name = std::string(name);
    p.firmwareId = kController1126;
    if (name == "controller") return p;
    if (name == "controller-1125") {
        p.firmwareId = kController1125;
        return p;
    }
    if (name == "mmi") {
        p.firmwareId = kPanel1100;
        p.rejectsProbe = true;
        return p;
    }
    if (name == "mmi-900") {
        p.firmwareId = kPanel900;
        p.rejectsProbe = true;
        return p;
    }
    if (name == "controller-unknown") {
        p.firmwareId = kUnknownFirmware;
        return p;
    }
    if (name == "readonly") {
        p.readOnly = true;
        return p;
    }
    if (name == "echo") {
        p.echo = true;
        return p;
    }
    if (name == "silent") {
        p.silent = true;
        return p;
    }
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> Persona::Described() {
    return {
        {"controller", "controller firmware 11.26, GP 0A463B8B (the default)"},
        {"controller-1125", "controller firmware 11.25, GP 2AF16B7A"},
        {"mmi", "operator panel: \"PV SY 111\" refused with NO00, GP 32A0E748"},
        {"mmi-900", "operator panel firmware 9.00: \"PV SY 111\" refused with NO00, GP 72F9F00F"},
        {"controller-unknown", "controller whose firmware is none the program knows, GP 5EEDF00D"},
        {"readonly", "controller that answers reads and refuses PC and XC with NO06"},
        {"echo", "loop-back cable: every byte comes straight back"},
        {"silent", "reads everything, never answers"},
    };
}

}  // namespace sim
