#include "appmodel/shell/WindowPlacement.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>

namespace qs {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// One number of the list: blanks, an optional '-', decimal digits, blanks.
bool ParseField(std::string_view field, long long& value) {
    size_t b = 0, e = field.size();
    while (b < e && IsBlank(field[b])) ++b;
    while (e > b && IsBlank(field[e - 1])) --e;
    if (b == e) return false;
    const char* first = field.data() + b;
    const char* last = field.data() + e;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && ptr == last;
}

}  // namespace

std::optional<WindowPlacement> WindowPlacement::Parse(std::string_view text) {
    if (text.size() > kMaxTextLength) return std::nullopt;
    std::array<long long, 10> v{};
    size_t count = 0;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string_view field = text.substr(start, comma == std::string_view::npos ? text.npos : comma - start);
        if (count == v.size() || !ParseField(field, v[count])) return std::nullopt;
        ++count;
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (count != v.size()) return std::nullopt;
    for (size_t i = 0; i < v.size(); ++i) {
        const long long lo = i < 2 ? 0 : INT32_MIN;
        const long long hi = i < 2 ? UINT32_MAX : INT32_MAX;
        if (v[i] < lo || v[i] > hi) return std::nullopt;
    }
    WindowPlacement p;
    p.flags = static_cast<unsigned>(v[0]);
    p.showCmd = static_cast<unsigned>(v[1]);
    p.minX = static_cast<int>(v[2]);
    p.minY = static_cast<int>(v[3]);
    p.maxX = static_cast<int>(v[4]);
    p.maxY = static_cast<int>(v[5]);
    p.left = static_cast<int>(v[6]);
    p.top = static_cast<int>(v[7]);
    p.right = static_cast<int>(v[8]);
    p.bottom = static_cast<int>(v[9]);
    return p;
}

std::string WindowPlacement::Format() const {
    char text[kMaxTextLength + 1];
    std::snprintf(text, sizeof text, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", flags, showCmd, minX, minY, maxX, maxY, left, top,
                  right, bottom);
    return text;
}

bool WindowPlacement::IsMinimized() const {
    return showCmd == kSwShowMinimized || showCmd == kSwMinimize || showCmd == kSwShowMinNoActive;
}

std::optional<WindowPlacement::Restore> WindowPlacement::Resolve(const std::vector<Rect>& screens) const {
    const long long width = static_cast<long long>(right) - left;
    const long long height = static_cast<long long>(bottom) - top;
    if (width < kMinWidth || height < kMinHeight || width > kMaxExtent || height > kMaxExtent) return std::nullopt;

    // The top strip of the frame, where the user grabs it to move it.
    const long long stripBottom = static_cast<long long>(top) + std::min<long long>(height, 2 * kMinVisibleHeight);
    bool reachable = false;
    for (const Rect& s : screens) {
        const long long ix = std::min<long long>(right, static_cast<long long>(s.x) + s.width) - std::max(left, s.x);
        const long long iy = std::min<long long>(stripBottom, static_cast<long long>(s.y) + s.height) - std::max(top, s.y);
        if (ix >= kMinVisibleWidth && iy >= kMinVisibleHeight) {
            reachable = true;
            break;
        }
    }
    if (!reachable) return std::nullopt;

    Restore r;
    r.normal = {left, top, static_cast<int>(width), static_cast<int>(height)};
    if (IsMinimized()) r.maximized = (flags & kWpfRestoreToMaximized) != 0;
    else r.maximized = IsMaximized();
    return r;
}

}  // namespace qs
