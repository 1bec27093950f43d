#include "platform/InstanceToken.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>

namespace qs {

uint32_t InstanceToken::Current() { return static_cast<uint32_t>(::getpid()); }

std::string InstanceToken::Format(uint32_t token) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(token));
    return text;
}

bool InstanceToken::Write(IniProfile& ini, uint32_t token) {
    return ini.WriteString(kSection, kKey, Format(token));
}

std::optional<uint32_t> InstanceToken::Read(const IniProfile& ini) {
    std::string text = ini.GetString(kSection, kKey, "0").substr(0, kMaxTextLength);
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 2])))
        i += 2;
    uint64_t value = 0;
    size_t digits = 0;
    for (; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) {
        int c = std::toupper(static_cast<unsigned char>(text[i]));
        value = value * 16 + static_cast<uint64_t>(c <= '9' ? c - '0' : c - 'A' + 10);
        if (value > UINT32_MAX) return std::nullopt;
    }
    if (digits == 0 || value == 0) return std::nullopt;
    return static_cast<uint32_t>(value);
}

}  // namespace qs
