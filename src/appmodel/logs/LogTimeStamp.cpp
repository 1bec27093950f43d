#include "appmodel/logs/LogTimeStamp.h"

#include <cstdio>

namespace qs {

namespace {

bool LeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysIn(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && LeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

bool LogTimeStamp::Valid(int year, int month, int day, int hour, int minute, int second) {
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12) return false;
    if (day < 1 || day > DaysIn(year, month)) return false;
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

std::string LogTimeStamp::Format(int year, int month, int day, int hour, int minute, int second) {
    if (!Valid(year, month, day, hour, minute, second)) return kInvalid;
    char text[48];
    std::snprintf(text, sizeof text, "%02d/%02d/%d,%02d:%02d:%02d,", month, day, year, hour, minute, second);
    return text;
}

std::string LogTimeStamp::Format(const LogPayload& p, size_t at) {
    // year, month, day, (not used), second, minute, hour, (not used)
    return Format(p.U16(at), p.U16(at + 2), p.U16(at + 4), p.U16(at + 12), p.U16(at + 10), p.U16(at + 8));
}

}  // namespace qs
