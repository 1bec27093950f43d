#include "appmodel/totals/TotalsReply.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#include "platform/SafeFormat.h"

namespace qs {

std::string TotalsReply::Field(const std::string& reply, size_t offset) {
    return reply.size() > offset ? reply.substr(offset) : std::string();
}

double TotalsReply::Value(const std::string& field) {
    const std::string text = field.substr(0, kMaxNumberText);
    const double v = StrToDoubleC(text.c_str());
    return std::isfinite(v) ? v : 0.0;
}

int TotalsReply::Integer(const std::string& field) {
    size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
    long long v = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        v = v * 10 + (field[i] - '0');
        if (v > INT_MAX) v = INT_MAX;
    }
    return static_cast<int>(negative ? -v : v);
}

bool TotalsReply::IsRejection(const std::string& reply) { return reply.starts_with("         NO"); }

}  // namespace qs
