#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace qs::display {

// One emulated LCD's memory bitmap: 256 x 64 palette indexes 0-3. Every write is clipped, so
// coordinates from the device may be anything.
class Framebuffer {
public:
    static constexpr int kWidth = 256;
    static constexpr int kHeight = 64;

    Framebuffer() { pixels_.fill(0); }

    // The display has four colours: a larger value keeps its two low bits.
    void SetPixel(int x, int y, int colour) {
        if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) pixels_[static_cast<size_t>(y * kWidth + x)] = static_cast<uint8_t>(colour & 3);
    }
    // 0-3, or -1 outside the bitmap.
    int Pixel(int x, int y) const {
        return x >= 0 && x < kWidth && y >= 0 && y < kHeight ? pixels_[static_cast<size_t>(y * kWidth + x)] : -1;
    }
    // The rectangle from (left, top) to (right, bottom), both corners included.
    void Fill(int colour, int left, int top, int right, int bottom);
    void Clear(int colour = 0) { pixels_.fill(static_cast<uint8_t>(colour & 3)); }
    const std::array<uint8_t, kWidth * kHeight>& Pixels() const { return pixels_; }

private:
    std::array<uint8_t, kWidth * kHeight> pixels_;
};

}  // namespace qs::display
