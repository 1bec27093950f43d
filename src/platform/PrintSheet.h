#pragma once
#include <string>
#include <vector>

namespace qs {

// One element of a printout: a line of text at a line position of its page (in text heights
// from the top), or the start of a new page. A printout in the GUI draws them.
struct PrintItem {
    enum class Kind { Line, PageBreak };
    Kind kind = Kind::Line;
    std::string text;
    int line = 0;
};

// A printout laid out in lines: the model adds its lines and page breaks here, measured in
// text heights, and the GUI's printout turns them into pages.
class PrintSheet {
public:
    // Lines start this far down every page (three text heights).
    static constexpr int kTopLine = 3;

    explicit PrintSheet(int topLine = kTopLine) : top_(topLine), line_(topLine) {}

    int Line() const { return line_; }
    int Pages() const { return pages_; }
    // A new page when the line position is past `limit`.
    void BreakIfPast(int limit);
    void NewPage();
    // The text at the current position, then `advance` lines down.
    void AddLine(std::string text, int advance = 1);
    void Skip(int lines) { line_ += lines; }

    const std::vector<PrintItem>& Items() const { return items_; }
    // The texts of all lines in order (page breaks left out).
    std::vector<std::string> Lines() const;

private:
    int top_;
    int line_;
    int pages_ = 1;
    std::vector<PrintItem> items_;
};

}  // namespace qs
