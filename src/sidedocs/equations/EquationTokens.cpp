#include "sidedocs/equations/EquationTokens.h"

#include <array>

namespace qs {
namespace {

struct TokenRow {
    std::string_view text;
    uint16_t code;
    EquationTokens::Class cls;
    bool unary;
};

using C = EquationTokens::Class;

constexpr std::array<TokenRow, EquationTokens::kRows> kTokens = {{
    {"NULL", 256, C::Arithmetic, false},
    {":=", 258, C::Arithmetic, false},
    {"NOT", 267, C::Boolean, true},
    {"AND", 277, C::Boolean, false},
    {"XOR", 279, C::Boolean, false},
    {"OR", 278, C::Boolean, false},
    {"IF", 268, C::If, false},
    {"IFF", 268, C::Comparison, false},
    {"ENDIF", 270, C::Comparison, false},
    {"!=", 298, C::Comparison, false},
    {"<=", 301, C::Comparison, false},
    {">=", 302, C::Comparison, false},
    {">", 299, C::Comparison, false},
    {"<", 300, C::Comparison, false},
    {"=", 297, C::Comparison, false},
    {"+", 317, C::Arithmetic, false},
    {"-", 318, C::Arithmetic, false},
    {"*", 319, C::Arithmetic, false},
    {"/", 320, C::Arithmetic, false},
    {"POW", 321, C::Arithmetic, false},
    {"ABS", 337, C::Arithmetic, true},
    {"SQRT", 339, C::Arithmetic, true},
    {"SQR", 338, C::Arithmetic, true},
    {"EXP", 340, C::Arithmetic, false},
    {"LN", 341, C::Arithmetic, true},
    {"LOG", 342, C::Arithmetic, true},
    {"ANOP", 343, C::Arithmetic, false},
}};

struct ConstantRow {
    std::string_view name;
    double value;
};

constexpr std::array<ConstantRow, EquationTokens::kNamedConstants> kConstants = {{
    {"TRUE", 1.0},
    {"FALSE", 0.0},
    {"ON", 1.0},
    {"OFF", 0.0},
    {"PI", 3.14159265359},
    {"E", 2.718281828459},
}};

constexpr std::array<std::string_view, 13> kMessages = {
    "PARSE OK",
    "NO VALUE SPECIFIED",
    "UNRECOGNIZED ENTRY",
    "INVALID REGISTER ID",
    "INDEX OUT OF RANGE",
    "SYNTAX ERROR",
    "MISSING OPERAND",
    "ILLEGAL BOOLEAN ARGUMENT",
    "MAXIMUM ALLOWED OPERATIONS (4) EXCEEDED",
    "TEMP USED BEFORE DEFINITION",
    "NO OPERATORS ALLOWED BEFORE IF",
    "ERROR READING FILE",
    "ERROR WRITING TO FILE",
};

bool InTable(int row) { return row >= 0 && row < EquationTokens::kRows; }

bool Negatable(int row) {
    return row == EquationTokens::kAnd || row == EquationTokens::kOr || row == EquationTokens::kXor;
}

}  // namespace

std::string_view EquationTokens::Text(int row) { return InTable(row) ? kTokens[static_cast<size_t>(row)].text : ""; }

uint16_t EquationTokens::Code(int row) { return InTable(row) ? kTokens[static_cast<size_t>(row)].code : 0; }

EquationTokens::Class EquationTokens::ClassOf(int row) {
    return InTable(row) ? kTokens[static_cast<size_t>(row)].cls : Class::Arithmetic;
}

bool EquationTokens::IsUnary(int row) { return InTable(row) && kTokens[static_cast<size_t>(row)].unary; }

int EquationTokens::Find(std::string_view token) {
    for (int row = 0; row < kRows; ++row) {
        if (kTokens[static_cast<size_t>(row)].text == token) return row;
    }
    return -1;
}

std::optional<uint16_t> EquationTokens::DeviceCode(int op) {
    const int row = op & ~kNegated;
    if (op == 0 || !InTable(row) || (op & ~(kNegated | 0xFF)) != 0) return std::nullopt;
    if ((op & kNegated) == 0) return Code(row);
    if (!Negatable(row)) return std::nullopt;
    return static_cast<uint16_t>(Code(row) + kNegatedCodeOffset);
}

int EquationTokens::FromDeviceCode(uint32_t code) {
    if (code == kNoOperatorCode) return 0;
    for (int row = 1; row < kRows; ++row) {
        if (static_cast<uint32_t>(Code(row)) == code) return row;
    }
    for (int row : {kAnd, kOr, kXor}) {
        if (static_cast<uint32_t>(Code(row) + kNegatedCodeOffset) == code) return row | kNegated;
    }
    return kUnknownRow;
}

std::string EquationTokens::Render(int op) {
    const int row = op & ~kNegated;
    if (!InTable(row) || (op & ~(kNegated | 0xFF)) != 0) return "?";
    std::string text(Text(row));
    if (op & kNegated) text += " NOT";
    return text;
}

std::string_view EquationTokens::ConstantName(int row) {
    return row >= 0 && row < kNamedConstants ? kConstants[static_cast<size_t>(row)].name : "";
}

double EquationTokens::ConstantValue(int row) {
    return row >= 0 && row < kNamedConstants ? kConstants[static_cast<size_t>(row)].value : 0.0;
}

int EquationTokens::FindConstant(std::string_view token) {
    for (int row = 0; row < kNamedConstants; ++row) {
        if (kConstants[static_cast<size_t>(row)].name == token) return row;
    }
    return -1;
}

std::string_view EquationTokens::Message(int code) {
    return code >= 0 && code < static_cast<int>(kMessages.size()) ? kMessages[static_cast<size_t>(code)] : "";
}

}  // namespace qs
