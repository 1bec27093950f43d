#include "programdata/s_DX3_static_file_rec.h"

#include <algorithm>
#include <cstring>

namespace qs {

int s_DX3_static_file_rec::OptionCount() const {
    // Compared as floats first: converting a NaN or a huge float to int is undefined.
    if (!(max > -1.0f)) return 0;
    if (max >= static_cast<float>(kMaxOptions - 1)) return kMaxOptions;
    return static_cast<int>(max) + 1;
}

std::string s_DX3_static_file_rec::FieldText(const char* field, size_t size) {
    if (size == 0) return {};
    const size_t limit = size - 1;
    const void* nul = std::memchr(field, '\0', limit);
    const size_t n = nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : limit;
    return std::string(field, n);
}

void s_DX3_static_file_rec::SetField(char* field, size_t size, std::string_view text) {
    if (size == 0) return;
    std::memset(field, 0, size);
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    if (!text.empty()) std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

}  // namespace qs
