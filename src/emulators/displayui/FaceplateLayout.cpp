#include "emulators/displayui/FaceplateLayout.h"

#include <array>

namespace qs::displayui {
namespace {

// Row and column of each key, by id from 1000: a telephone-style digit block (1-3 on top,
// Sign 0 DECIMAL at the bottom) and two columns of function keys to its right.
struct Cell {
    int row;
    int column;
};
constexpr std::array<Cell, 20> kCells{{
    {0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {2, 2},  // 1-9
    {3, 0}, {3, 1}, {3, 2},                                                  // Sign 0 DECIMAL
    {0, 3}, {0, 4}, {1, 3}, {1, 4},                                          // F1 F2 Set Print
    {2, 3}, {3, 3}, {2, 4}, {3, 4},                                          // Clear Start Enter Stop
}};
constexpr int kRows = 4;
constexpr const char* kRemoteSubtitle = "REMOTE DISPLAY / KEYPAD";
constexpr int kColumns = 5;

}  // namespace

const FaceplateLayout& FaceplateLayout::Normal() {
    static const FaceplateLayout layout{"Duravane III Remote Display / Keypad", kRemoteSubtitle, wxSize(735, 591),
                                        {wxPoint(251, 143)}, 150, wxPoint(146, 262)};
    return layout;
}

const FaceplateLayout& FaceplateLayout::Quad() {
    static const FaceplateLayout layout{"Duravane IIIQ Remote Display / Keypad", kRemoteSubtitle, wxSize(1043, 630),
                                        {wxPoint(251, 191), wxPoint(251, 367)}, 120, wxPoint(560, 198)};
    return layout;
}

const FaceplateLayout& FaceplateLayout::Panel() {
    static const FaceplateLayout layout{"Duravane III MMI", "OPERATOR PANEL", wxSize(704, 770),
                                        {wxPoint(230, 136), wxPoint(230, 267)}, 30, wxPoint(131, 430)};
    return layout;
}

wxRect FaceplateLayout::KeyRect(int id) const {
    const auto index = static_cast<size_t>(id - 1000);
    if (index >= kCells.size()) return {};
    const Cell cell = kCells[index];
    const int x = keypad.x + cell.column * (kKeyWidth + kKeyGap) + (cell.column >= 3 ? kBlockGap : 0);
    const int y = keypad.y + cell.row * (kKeyHeight + kKeyGap);
    return {x, y, kKeyWidth, kKeyHeight};
}

wxRect FaceplateLayout::KeypadRect() const {
    return {keypad.x, keypad.y, kColumns * kKeyWidth + (kColumns - 1) * kKeyGap + kBlockGap,
            kRows * kKeyHeight + (kRows - 1) * kKeyGap};
}

}  // namespace qs::displayui
