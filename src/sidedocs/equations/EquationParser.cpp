#include "sidedocs/equations/EquationParser.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "programdata/ParamDictionary.h"
#include "sidedocs/equations/EquationDestinations.h"
#include "sidedocs/equations/EquationRecord.h"
#include "sidedocs/equations/EquationTokens.h"

namespace qs {
namespace {

using Tokens = EquationTokens;
using Destinations = EquationDestinations;

constexpr uint32_t kLowestRegisterId = 16777216;  // an arm field or a data type present

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

// Longest first, so "<=" is never split and "SQRT" never read as "SQR".
constexpr std::array<std::string_view, 11> kSymbols = {":=", "!=", "<=", ">=", ">", "<", "=", "+", "-", "*", "/"};
constexpr std::array<std::string_view, 16> kWords = {"ENDIF", "ANOP", "NULL", "SQRT", "ABS", "AND", "EXP", "IFF",
                                                     "LOG",   "NOT",  "POW",  "SQR",  "XOR", "IF",  "LN",  "OR"};

std::string_view MatchAt(std::string_view s, size_t i, const auto& candidates) {
    for (std::string_view c : candidates) {
        if (s.substr(i, c.size()) == c) return c;
    }
    return {};
}

// The length of the number starting at `i` (digits, a fraction, an exponent), 0 for none.
size_t NumberLength(std::string_view s, size_t i) {
    size_t j = i;
    while (j < s.size() && IsDigit(s[j])) ++j;
    const size_t whole = j - i;
    size_t fraction = 0;
    if (j < s.size() && s[j] == '.') {
        size_t k = j + 1;
        while (k < s.size() && IsDigit(s[k])) ++k;
        fraction = k - j - 1;
        if (whole > 0 || fraction > 0) j = k;
    }
    if (whole == 0 && fraction == 0) return 0;
    if (j < s.size() && s[j] == 'E') {
        size_t k = j + 1;
        if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
        const size_t digits = k;
        while (k < s.size() && IsDigit(s[k])) ++k;
        if (k > digits) j = k;
    }
    return j - i;
}

// A token that is a number as a whole: an optional minus, then NumberLength's form.
bool ReadNumber(std::string_view token, double& value, bool& plain) {
    const size_t sign = !token.empty() && token[0] == '-' ? 1 : 0;
    if (token.size() == sign || NumberLength(token, sign) != token.size() - sign) return false;
    const auto r = std::from_chars(token.data(), token.data() + token.size(), value);
    if (r.ec != std::errc() || r.ptr != token.data() + token.size() || !std::isfinite(value)) return false;
    plain = sign == 0 && token.find_first_of(".E") == std::string_view::npos;
    return true;
}

// Digits only, at most `maxDigits` of them.
bool ReadDigits(std::string_view text, size_t maxDigits, uint64_t& value) {
    if (text.empty() || text.size() > maxDigits) return false;
    for (char c : text) {
        if (!IsDigit(c)) return false;
    }
    return std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc();
}

struct Operand {
    int32_t kind = 0;
    double value = 0.0;
};

struct Classified {
    int code = 0;
    Operand operand{};
};

Classified Refused(int code) { return {code, {}}; }
Classified Read(int32_t kind, double value) { return {0, {kind, value}}; }

Classified ReadRegister(std::string_view digits, const ParamDictionary& dictionary) {
    uint64_t id = 0;
    if (!ReadDigits(digits, 10, id) || id > 0xFFFFFFFFu || id < kLowestRegisterId) return Refused(EquationParser::kInvalidRegister);
    const CParam* entry = dictionary.FindParamByRegisterId(static_cast<uint32_t>(id));
    const unsigned instance = RegisterIdInstance(static_cast<uint32_t>(id));
    if (!entry || (entry->instances == 0 ? instance != 0 : instance < 1 || instance > entry->instances)) {
        return Refused(EquationParser::kInvalidRegister);
    }
    return Read(CEquation::kRegister, static_cast<double>(id));
}

Classified ReadNamedDestination(std::string_view token, int type, const EquationContext& context) {
    uint64_t number = 0;
    if (!ReadDigits(token.substr(Destinations::Name(type).size()), 6, number)) return Refused(EquationParser::kUnrecognized);
    const int n = static_cast<int>(number);
    if (type == Destinations::kTempBool || type == Destinations::kTempFloat) {
        if (n > EquationParser::kMaxTempNumber) return Refused(EquationParser::kIndexOutOfRange);
        if (EquationRecord::FindLinePosition(context.lines, type, n) == 0) return Refused(EquationParser::kTempUndefined);
        return Read(type == Destinations::kTempBool ? CEquation::kTempBool : CEquation::kTempFloat, n);
    }
    int highest = 0;
    if (type == Destinations::kUserBool || type == Destinations::kUserFloat) highest = Destinations::kUserRegisters;
    else if (type == Destinations::kTimerFirst) highest = Destinations::kTimers;
    else return Refused(EquationParser::kUnrecognized);  // outputs and the other destinations are no operands
    if (n < 1 || n > highest) return Refused(EquationParser::kIndexOutOfRange);
    return Read(CEquation::kDestination, type * 256 + n);
}

Classified ReadOperand(std::string_view token, const EquationContext& context) {
    if (const int row = Tokens::FindConstant(token); row >= 0) return Read(CEquation::kNamedConstant, row);
    if (const int type = Destinations::FindByPrefix(token); type >= 0) return ReadNamedDestination(token, type, context);
    if (token[0] == '@') return ReadRegister(token.substr(1), context.dictionary);
    double value = 0.0;
    bool plain = false;
    if (!ReadNumber(token, value, plain)) return Refused(EquationParser::kUnrecognized);
    if (plain && value <= 255.0) return Read(CEquation::kByteConstant, value);
    // The controller keeps its constants as 32-bit floats.
    if (std::fabs(value) > std::numeric_limits<float>::max()) return Refused(EquationParser::kUnrecognized);
    return Read(CEquation::kFloatConstant, value);
}

bool BooleanOrArithmetic(int row) {
    const Tokens::Class c = Tokens::ClassOf(row);
    return c == Tokens::Class::Boolean || c == Tokens::Class::Arithmetic;
}

// The parse of one expression, token by token.
class Reader {
public:
    explicit Reader(const EquationContext& context) : context_(context) {}

    EquationParseResult Run(std::string_view text, CEquation& out) {
        struct Token {
            std::string text;
            size_t position;
        };
        std::vector<Token> tokens;
        for (size_t i = 0; i < text.size();) {
            if (IsBlank(text[i])) {
                ++i;
                continue;
            }
            size_t end = i;
            while (end < text.size() && !IsBlank(text[end])) ++end;
            tokens.push_back({Upper(text.substr(i, end - i)), i});
            i = end;
        }
        if (tokens.empty()) return {EquationParser::kNoValue, 0};
        for (const Token& t : tokens) {
            if (const int code = Take(t.text)) return {code, t.position};
        }
        if (prev_ != Prev::Operand) return {EquationParser::kMissingOperand, tokens.back().position};
        if (standaloneNot_ && operands_.size() == operators_.size() + 1) return {EquationParser::kSyntaxError, 0};
        for (size_t i = 0; i < static_cast<size_t>(CEquation::kPlaces); ++i) {
            out.kinds[i] = i < operands_.size() ? operands_[i].kind : CEquation::kNone;
            out.values[i] = i < operands_.size() ? operands_[i].value : 0.0;
            out.operators[i] = i < operators_.size() ? operators_[i] : 0;
        }
        return {EquationParser::kOk, 0};
    }

private:
    enum class Prev { Start, Operand, Operator, If, AbsorbedNot };

    int Take(const std::string& token) {
        double value = 0.0;
        bool plain = false;
        // "A -1" is A minus 1.
        if (prev_ == Prev::Operand && token.size() > 1 && token[0] == '-' && ReadNumber(token, value, plain)) {
            if (const int code = AddOperator(Tokens::kMinus)) return code;
            return AddOperand({CEquation::kFloatConstant, -value});
        }
        const int row = Tokens::Find(token);
        if (row < 0) {
            const Classified c = ReadOperand(token, context_);
            return c.code ? c.code : AddOperand(c.operand);
        }
        // No operation and the assignment belong to the device's own lines.
        if (row == Tokens::kNull || row == Tokens::kAssign) return EquationParser::kUnrecognized;
        if (row == Tokens::kNot) {
            if (prev_ == Prev::AbsorbedNot || (prev_ == Prev::Operator && lastRow_ == Tokens::kNot)) {
                return EquationParser::kMissingOperand;
            }
            if (prev_ == Prev::Operator &&
                (lastRow_ == Tokens::kAnd || lastRow_ == Tokens::kOr || lastRow_ == Tokens::kXor)) {
                operators_.back() |= Tokens::kNegated;
                prev_ = Prev::AbsorbedNot;
                return 0;
            }
        }
        return AddOperator(row);
    }

    int AddOperator(int row) {
        if (row == Tokens::kIf && !operators_.empty()) return EquationParser::kOperatorBeforeIf;
        if (prev_ == Prev::If && row != Tokens::kNot) return EquationParser::kMissingOperand;
        if (prev_ == Prev::Operator || prev_ == Prev::AbsorbedNot) {
            const int last = prev_ == Prev::AbsorbedNot ? Tokens::kNot : lastRow_;
            if (BooleanOrArithmetic(row) && BooleanOrArithmetic(last)) return EquationParser::kMissingOperand;
            // Of two operators in a row the second stands before an operand.
            if (!Tokens::IsUnary(row)) return EquationParser::kMissingOperand;
        }
        // A line may begin only with an operator that takes no operand before it ...
        if (prev_ == Prev::Start && !Tokens::IsUnary(row)) return EquationParser::kMissingOperand;
        // ... and such an operator never follows one.
        if (prev_ == Prev::Operand && Tokens::IsUnary(row)) return EquationParser::kSyntaxError;
        if (operators_.size() == static_cast<size_t>(CEquation::kMaxOperators)) return EquationParser::kTooManyOperations;
        operators_.push_back(row);
        lastRow_ = row;
        if (row == Tokens::kNot) standaloneNot_ = true;
        prev_ = row == Tokens::kIf ? Prev::If : Prev::Operator;
        return 0;
    }

    int AddOperand(const Operand& operand) {
        if (prev_ == Prev::Operand) return EquationParser::kSyntaxError;
        if (operands_.size() == static_cast<size_t>(CEquation::kPlaces)) return EquationParser::kTooManyOperations;
        operands_.push_back(operand);
        prev_ = Prev::Operand;
        return 0;
    }

    const EquationContext& context_;
    Prev prev_ = Prev::Start;
    int lastRow_ = -1;
    bool standaloneNot_ = false;
    std::vector<Operand> operands_;
    std::vector<int32_t> operators_;
};

}  // namespace

std::string EquationParser::Normalize(std::string_view input) {
    const std::string s = Upper(input);
    std::string out;
    std::string word;
    const auto flush = [&] {
        if (word.empty()) return;
        if (!out.empty()) out += ' ';
        out += word;
        word.clear();
    };
    const auto emit = [&](std::string_view token) {
        flush();
        if (!out.empty()) out += ' ';
        out += token;
    };
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (IsBlank(c)) {
            flush();
            ++i;
            continue;
        }
        if (const std::string_view symbol = MatchAt(s, i, kSymbols); !symbol.empty()) {
            if (symbol == "-" && NumberLength(s, i + 1) > 0) {
                // A minus directly before a digit belongs to the number.
                flush();
                const size_t n = 1 + NumberLength(s, i + 1);
                word = s.substr(i, n);
                i += n;
                continue;
            }
            emit(symbol);
            i += symbol.size();
            continue;
        }
        if (c == '@') {
            flush();
            word.push_back('@');  // empty after the flush
            ++i;
            continue;
        }
        if (word.empty() && NumberLength(s, i) > 0) {
            const size_t n = NumberLength(s, i);
            word = s.substr(i, n);
            i += n;
            continue;
        }
        // An operator word starts a token after a blank, a symbol, a digit or a named constant.
        const bool boundary = word.empty() || IsDigit(word.back()) || word.back() == '.' || Tokens::FindConstant(word) >= 0;
        if (IsLetter(c) && boundary) {
            if (const std::string_view op = MatchAt(s, i, kWords); !op.empty()) {
                emit(op);
                i += op.size();
                continue;
            }
        }
        word += c;
        ++i;
    }
    flush();
    return out;
}

EquationParseResult EquationParser::Parse(std::string_view text, const EquationContext& context, CEquation& out) {
    CEquation parsed(out);
    Reader reader(context);
    const EquationParseResult result = reader.Run(text, parsed);
    if (result.Ok()) out = parsed;
    return result;
}

EquationParseResult EquationParser::Validate(const CEquation& line, const EquationContext& context, CEquation& checked) {
    checked = line;
    if (line.IsComment()) return {};
    if (!Destinations::Valid(line.type)) return {kIndexOutOfRange, 0};
    int highest = 0;
    if (line.type == Destinations::kUserBool || line.type == Destinations::kUserFloat) highest = Destinations::kUserRegisters;
    if (line.type >= Destinations::kTimerFirst && line.type <= Destinations::kTimerLast) highest = Destinations::kTimers;
    if (highest && (line.index < 1 || line.index > highest)) return {kIndexOutOfRange, 0};
    const EquationParseResult read = Parse(line.GetExpressionText(), context, checked);
    if (!read.Ok()) return read;
    if (Destinations::HasRegister(line.type) && checked.OperatorCount() > kMaxOperatorsToRegister) {
        return {kTooManyOperations, 0};
    }
    return {};
}

}  // namespace qs
