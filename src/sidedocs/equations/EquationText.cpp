#include "sidedocs/equations/EquationText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "programdata/ParamDictionary.h"
#include "sidedocs/equations/CEquation.h"
#include "sidedocs/equations/EquationDestinations.h"
#include "sidedocs/equations/EquationTokens.h"

namespace qs {
namespace {

using Destinations = EquationDestinations;

constexpr std::string_view kCommentMark = ";  ";

// Registers of these dictionary directories are kept per load arm.
bool PerArmDirectory(unsigned directory) {
    switch (directory) {
    case 12: case 13: case 16: case 17: case 18: case 19: case 24: case 27: case 28: case 33: case 36: case 37:
    case 38:
        return true;
    default:
        return false;
    }
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

bool IsWhole(double v, double low, double high) { return std::isfinite(v) && v >= low && v <= high && v == std::trunc(v); }

}  // namespace

std::string EquationText::Float(double value) {
    if (!std::isfinite(value)) return "?";
    char buffer[64];
    std::to_chars_result r;
    const bool fitsFloat = std::fabs(value) <= std::numeric_limits<float>::max();
    if (fitsFloat && static_cast<double>(static_cast<float>(value)) == value) {
        r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
    } else {
        r = std::to_chars(buffer, buffer + sizeof buffer, value);
    }
    std::string text(buffer, r.ptr);
    for (char& c : text) {
        if (c == 'e') c = 'E';
    }
    if (text.find_first_of(".E") == std::string::npos) text += ".0";
    return text;
}

std::string EquationText::Operand(const CEquation& line, int place) {
    if (place < 0 || place >= CEquation::kPlaces) return "";
    const double v = line.values[static_cast<size_t>(place)];
    switch (line.kinds[static_cast<size_t>(place)]) {
    case CEquation::kNone:
        return "";
    case CEquation::kNamedConstant: {
        const std::string_view name = IsWhole(v, 0, 255) ? EquationTokens::ConstantName(static_cast<int>(v)) : "";
        return name.empty() ? "?" : std::string(name);
    }
    case CEquation::kByteConstant:
        return IsWhole(v, 0, 255) ? std::to_string(static_cast<int>(v)) : "?";
    case CEquation::kFloatConstant:
        return Float(v);
    case CEquation::kRegister: {
        if (!IsWhole(v, 0, 4294967295.0)) return "?";
        char text[16];
        std::snprintf(text, sizeof text, "@%08lu", static_cast<unsigned long>(v));
        return text;
    }
    case CEquation::kDestination: {
        if (!IsWhole(v, 0, Destinations::kTypes * 256.0 - 1)) return "?";
        const int packed = static_cast<int>(v);
        return std::string(Destinations::Name(packed >> 8)) + std::to_string(packed & 0xFF);
    }
    case CEquation::kTempBool:
    case CEquation::kTempFloat: {
        if (!IsWhole(v, INT32_MIN, INT32_MAX)) return "?";
        const int type = line.kinds[static_cast<size_t>(place)] == CEquation::kTempBool ? Destinations::kTempBool
                                                                                      : Destinations::kTempFloat;
        return std::string(Destinations::Name(type)) + std::to_string(static_cast<int>(v));
    }
    default:
        return "?";
    }
}

std::string EquationText::Expression(const CEquation& line) {
    const int n = line.OperandCount();
    const int m = line.OperatorCount();
    std::vector<std::string> words;
    int i = 0;  // next operator
    int j = 0;  // next operand
    bool wantOperand = true;
    while (i < m || j < n) {
        const int op = i < m ? line.operators[static_cast<size_t>(i)] : 0;
        if (wantOperand && i < m && EquationTokens::IsUnary(op)) {
            words.push_back(EquationTokens::Render(op));
            ++i;
        } else if ((wantOperand || i >= m) && j < n) {
            words.push_back(Operand(line, j++));
            wantOperand = false;
        } else {
            words.push_back(EquationTokens::Render(op));
            ++i;
            wantOperand = true;
        }
    }
    std::string text;
    for (const std::string& w : words) {
        if (!text.empty()) text += ' ';
        text += w;
    }
    return text;
}

std::string EquationText::RegisterName(uint32_t id, const ParamDictionary& dictionary) {
    const CParam* entry = dictionary.FindParamByRegisterId(id);
    if (!entry) return "???";
    const std::string directory = ParamDictionary::DirectoryName(entry->dictDirectory);
    const unsigned instance = RegisterIdInstance(id);
    // The instance as "%0.0d" shows it: nothing at all for 0.
    const std::string instanceText = entry->instances > 0 ? "(" + (instance ? std::to_string(instance) : "") + ")" : "";
    std::string text;
    if (PerArmDirectory(entry->dictDirectory)) text = "Arm " + std::to_string((id >> 28) + 1) + " ";
    text += directory + instanceText + " " + entry->Name();
    return text;
}

std::string FormatRegisterReference(std::string_view token, const ParamDictionary& dictionary) {
    if (token.size() < 2 || token[0] != '@') return Upper(token);
    uint64_t id = 0;
    const auto r = std::from_chars(token.data() + 1, token.data() + token.size(), id);
    if (r.ec != std::errc() || r.ptr != token.data() + token.size() || id > 0xFFFFFFFFu) return Upper(token);
    return EquationText::RegisterName(static_cast<uint32_t>(id), dictionary);
}

std::string EquationText::Line(const CEquation& line, const ParamDictionary& dictionary) {
    if (line.IsComment()) {
        return line.text.compare(0, kCommentMark.size(), kCommentMark) == 0 ? line.text
                                                                           : std::string(kCommentMark) + line.text;
    }
    std::string expression;
    const std::string raw = Expression(line);
    size_t pos = 0;
    while (pos < raw.size()) {
        size_t end = raw.find(' ', pos);
        if (end == std::string::npos) end = raw.size();
        if (end > pos) {
            if (!expression.empty()) expression += ' ';
            expression += FormatRegisterReference(std::string_view(raw).substr(pos, end - pos), dictionary);
        }
        pos = end + 1;
    }
    const int type = line.type;
    const std::string name(Destinations::Name(type));
    if (type == Destinations::kUserAlarm) return name + " " + expression;
    const bool indexed = (type >= 0 && type <= Destinations::kDigOutLast) ||
                         (type >= Destinations::kTimerFirst && type <= Destinations::kTimerLast) ||
                         (type >= Destinations::kAnaOutFirst && type <= Destinations::kAnaOutLast);
    if (indexed) return name + std::to_string(line.index) + " = " + expression;
    return (name.empty() ? std::string("?") : name) + " = " + expression;
}

}  // namespace qs
