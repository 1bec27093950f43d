#pragma once
#include <cstddef>
#include <string>

#include "appmodel/logs/LogPayload.h"

namespace qs {

// The time stamp of the device's log records: eight big-endian u16 - year, month, day, one not
// used, second, minute, hour, one not used - written "MM/DD/YYYY,HH:MM:SS," (24-hour time, a
// comma after each part). Fields that do not form a date and time (month 13, 30 February,
// hour 24 ...) give "Invalid DateTime" in their place, with no comma after it.
class LogTimeStamp {
public:
    static constexpr size_t kBytes = 16;
    static constexpr const char* kInvalid = "Invalid DateTime";
    // The years a date may have.
    static constexpr int kFirstYear = 100;
    static constexpr int kLastYear = 9999;

    static std::string Format(const LogPayload& payload, size_t at);
    static std::string Format(int year, int month, int day, int hour, int minute, int second);
    static bool Valid(int year, int month, int day, int hour, int minute, int second);
};

}  // namespace qs
