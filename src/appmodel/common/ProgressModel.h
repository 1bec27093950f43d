#pragma once
#include <cstddef>
#include <string>

namespace qs {

// The state behind a progress window, kept apart from any toolkit so its arithmetic can be
// tested without a display: range, step, position, the percentage the caption shows, the
// status text and the cancelled flag.
class ProgressModel {
public:
    // Longest status text shown, in bytes (the rest of a longer text is cut, never overrun).
    static constexpr std::size_t kMaxTextBytes = 511;
    // Resolution of the bar: positions are mapped onto 0..kBarScale at most, so a range of
    // any width fits the toolkit's int gauge.
    static constexpr int kBarScale = 100000;

    // An empty title becomes "Progress".
    explicit ProgressModel(std::string title = {});

    struct Move {
        int previous = 0;             // position before the move
        bool captionChanged = false;  // the percentage moved, so the caption must be redrawn
    };

    void SetRange(int lower, int upper, int step);
    Move SetPos(int pos);
    Move OffsetPos(int n);  // saturates at the ends of int instead of overflowing
    Move StepIt();

    // Stores the text shown in the status area; returns it as it will be shown.
    const std::string& SetText(const std::string& text);

    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }

    int Lower() const { return lower_; }
    int Upper() const { return upper_; }
    int Step() const { return step_; }
    int Position() const { return position_; }
    int LastPercent() const { return lastPercent_; }
    const std::string& Title() const { return title_; }
    // The title alone until the percentage first changes, then "title [n%]".
    const std::string& Caption() const { return caption_; }
    const std::string& Text() const { return text_; }

    // The bar is shown only for a range that is not empty.
    bool BarVisible() const { return lower_ != upper_; }
    int BarRange() const;
    int BarValue() const;

    // (pos - lower) * 100 / (upper - lower) in 64 bits, held to 0..100; 0 when upper <= lower.
    static int PercentOf(int pos, int lower, int upper);
    // A status text as shown: up to the first NUL, at most kMaxTextBytes bytes; a text that is
    // valid UTF-8 is cut at a character boundary, any other at a byte.
    static std::string CutText(const std::string& text);

private:
    std::string title_;
    std::string caption_;
    std::string text_;
    int position_ = 0;
    int lastPercent_ = 0;
    int step_ = 1;
    int upper_ = 100;
    int lower_ = 0;
    bool cancelled_ = false;
};

}  // namespace qs
