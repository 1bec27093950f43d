#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace qs {

// The terminal's transcript: one line per command, indented two blanks per macro nesting
// level, kept to its last 20000 characters once it passes 20256. Its text is in the
// document's code page, lines ending in CR LF.
class TerminalTranscript {
public:
    static constexpr size_t kTrimAbove = 20256;
    static constexpr size_t kKeep = 20000;
    static constexpr int kCommandWidth = 40;  // device lines: address, then the command cut to this less the indent
    static constexpr int kLocalWidth = 42;    // local lines: the text padded to this less the indent

    // A device command: indent, the address in two digits, the command padded and cut to
    // 40 - indent, a blank and the reply.
    static std::string DeviceLine(int depth, int address, std::string_view command, std::string_view reply);
    // A line the terminal answered itself: indent, the text padded to 42 - indent, a blank and
    // the reply.
    static std::string LocalLine(int depth, std::string_view text, std::string_view reply);

    // Appends a line and trims the front.
    void Append(std::string_view line);
    void Clear() { text_.clear(); }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

}  // namespace qs
