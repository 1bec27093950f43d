#include "platform/PrintSheet.h"

namespace qs {

void PrintSheet::BreakIfPast(int limit) {
    if (line_ > limit) NewPage();
}

void PrintSheet::NewPage() {
    items_.push_back(PrintItem{PrintItem::Kind::PageBreak, {}, line_});
    line_ = top_;
    ++pages_;
}

void PrintSheet::AddLine(std::string text, int advance) {
    items_.push_back(PrintItem{PrintItem::Kind::Line, std::move(text), line_});
    line_ += advance;
}

std::vector<std::string> PrintSheet::Lines() const {
    std::vector<std::string> out;
    for (const auto& item : items_)
        if (item.kind == PrintItem::Kind::Line) out.push_back(item.text);
    return out;
}

}  // namespace qs
