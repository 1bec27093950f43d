#include "sidedocs/equations/EquationLineForm.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "sidedocs/equations/EquationDestinations.h"
#include "sidedocs/equations/EquationParser.h"
#include "sidedocs/equations/EquationText.h"
#include "sidedocs/equations/EquationTokens.h"

namespace qs {
namespace {

using Destinations = EquationDestinations;

constexpr std::string_view kCommentMark = ";  ";

void TrimRight(std::string& text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
}

}  // namespace

EquationLineForm::EquationLineForm(const CEquation* given, const EquationContext& context) : context_(context) {
    if (given) {
        line_ = *given;
    } else {
        line_.index = 1;
    }
    expression_ = line_.IsComment() ? line_.text : line_.GetExpressionText();
    lineText_ = line_.text;
    Validate();
}

std::string EquationLineForm::DestinationRowText(int type) {
    switch (type) {
    case Destinations::kTempBool: return "Temporary BOOLEAN storage (used in later line)";
    case Destinations::kUserBool: return "User BOOLEAN register (accessible via comm, etc.)";
    case Destinations::kTempFloat: return "Temporary FLOAT storage (used in later line)";
    case Destinations::kUserFloat: return "User FLOAT register (accessible via comm, etc.)";
    case Destinations::kUserAlarm: return "User Alarm";
    case Destinations::kComment: return "Comment Only";
    case Destinations::kNotUsed: return "Not Used <invalid>";
    default: break;
    }
    if (type >= Destinations::kDigOutFirst && type <= Destinations::kDigOutLast) {
        const int output = type - (Destinations::kDigOutFirst - 1);
        const char* group = output <= 3 ? "(DC)" : output <= 30 ? "(AC)" : output <= 38 ? "(BIOB)" : output <= 58 ? "(AICB #1)" : "(AICB #2)";
        return "Digital Output #" + std::to_string(output) + " " + group;
    }
    if (type >= Destinations::kTimerFirst && type <= Destinations::kTimerLast) {
        const int timer = type - (Destinations::kTimerFirst - 1);
        const char* unit = timer <= 4 ? "(100ms)" : timer <= 8 ? "(1 sec)" : timer <= 12 ? "(1 min)" : "(1 hr)";
        return "Timer #" + std::to_string(timer) + " " + unit;
    }
    if (type >= Destinations::kAnaOutFirst && type <= Destinations::kAnaOutLast) {
        return "Analog I/O #" + std::to_string(type - (Destinations::kAnaOutFirst - 1)) + " Out";
    }
    return "";
}

bool EquationLineForm::IndexEditable(int type) {
    return type >= Destinations::kTempBool && type <= Destinations::kUserFloat;
}

void EquationLineForm::SetDestination(int type) {
    if (!Destinations::Valid(type)) return;
    line_.type = type;
    int index = line_.index;
    if (IndexEditable(type) || type == Destinations::kComment) {
        index = 1;
    } else if (type >= Destinations::kDigOutFirst && type <= Destinations::kDigOutLast) {
        index = type - (Destinations::kDigOutFirst - 1);
    } else if (type >= Destinations::kAnaOutFirst && type <= Destinations::kAnaOutLast) {
        index = type - (Destinations::kAnaOutFirst - 1);
    } else if (type == Destinations::kUserAlarm) {
        index = 0;
    } else if (type >= Destinations::kTimerFirst && type <= Destinations::kTimerLast) {
        index = type - (Destinations::kTimerFirst - 1);
    }
    line_.index = static_cast<int16_t>(index);
    Validate();
}

void EquationLineForm::SetIndex(int index) {
    const int bounded = std::clamp(index, int{std::numeric_limits<int16_t>::min()}, int{std::numeric_limits<int16_t>::max()});
    if (bounded == line_.index) return;
    line_.index = static_cast<int16_t>(bounded);
    Validate();
}

size_t EquationLineForm::InsertAtCaret(size_t from, size_t to, std::string_view piece) {
    from = std::min(from, expression_.size());
    to = std::clamp(to, from, expression_.size());
    expression_.replace(from, to - from, piece);
    return from + piece.size();
}

std::string EquationLineForm::RegisterReference(uint32_t registerId) {
    char text[24];
    std::snprintf(text, sizeof text, " @%07lu ", static_cast<unsigned long>(registerId));
    return text;
}

size_t EquationLineForm::InsertRegister(size_t from, size_t to, uint32_t registerId) {
    const size_t caret = InsertAtCaret(from, to, RegisterReference(registerId));
    expression_ = EquationParser::Normalize(expression_);
    Validate();
    return std::min(caret, expression_.size());
}

void EquationLineForm::Fail(int code) {
    lineText_ = "Error " + std::to_string(code) + " - " + std::string(EquationTokens::Message(code));
    valid_ = false;
}

bool EquationLineForm::Validate() {
    if (line_.IsComment()) {
        line_.text = expression_.compare(0, kCommentMark.size(), kCommentMark) == 0 ? expression_
                                                                                   : std::string(kCommentMark) + expression_;
        line_.text.resize(std::min(line_.text.size(), CEquation::kMaxCommentLength));
        lineText_ = line_.text;
        valid_ = true;
        return true;
    }
    CEquation parsed = line_;
    const EquationParseResult read = parsed.ParseExpression(EquationParser::Normalize(expression_), context_);
    if (!read.Ok()) {
        Fail(read.code);
        return false;
    }
    const bool temporary = line_.type == Destinations::kTempBool || line_.type == Destinations::kTempFloat;
    if (!temporary && parsed.OperatorCount() > EquationParser::kMaxOperatorsToRegister) {
        Fail(EquationParser::kTooManyOperations);
        return false;
    }
    // The download refuses what the dialog would otherwise let through, such as an index past
    // the registers of its destination: say so here, while the line can still be mended.
    CEquation checked;
    const EquationParseResult sendable = EquationParser::Validate(parsed, context_, checked);
    if (!sendable.Ok()) {
        Fail(sendable.code);
        return false;
    }
    line_ = parsed;
    expression_ = line_.GetExpressionText();
    lineText_ = EquationText::Line(line_, context_.dictionary);
    line_.text = lineText_;
    valid_ = true;
    return true;
}

bool EquationLineForm::Accept() {
    if (expression_.size() > kMaxExpressionLength) expression_.resize(kMaxExpressionLength);
    if (!line_.IsComment()) expression_ = EquationParser::Normalize(expression_);
    TrimRight(expression_);
    return Validate();
}

}  // namespace qs
