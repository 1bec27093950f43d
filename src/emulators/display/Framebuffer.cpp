#include "emulators/display/Framebuffer.h"

#include <algorithm>

namespace qs::display {

void Framebuffer::Fill(int colour, int left, int top, int right, int bottom) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, kWidth - 1);
    bottom = std::min(bottom, kHeight - 1);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) pixels_[static_cast<size_t>(y * kWidth + x)] = static_cast<uint8_t>(colour & 3);
    }
}

}  // namespace qs::display
