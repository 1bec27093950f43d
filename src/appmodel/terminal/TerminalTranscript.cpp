#include "appmodel/terminal/TerminalTranscript.h"

#include <algorithm>

namespace qs {

namespace {

size_t Indent(int depth) { return static_cast<size_t>(std::max(depth, 0)) * 2; }

size_t Width(int width, size_t indent) {
    return static_cast<size_t>(width) > indent ? static_cast<size_t>(width) - indent : 0;
}

}  // namespace

std::string TerminalTranscript::DeviceLine(int depth, int address, std::string_view command, std::string_view reply) {
    const size_t indent = Indent(depth);
    const size_t width = Width(kCommandWidth, indent);
    std::string line(indent, ' ');
    if (address >= 0 && address < 10) line += '0';
    line += std::to_string(address);
    const std::string_view shown = command.substr(0, width);
    line += shown;
    line.append(width - shown.size(), ' ');
    line += ' ';
    line += reply;
    line += "\r\n";
    return line;
}

std::string TerminalTranscript::LocalLine(int depth, std::string_view text, std::string_view reply) {
    const size_t indent = Indent(depth);
    const size_t width = Width(kLocalWidth, indent);
    std::string line(indent, ' ');
    line += text;
    if (text.size() < width) line.append(width - text.size(), ' ');
    line += ' ';
    line += reply;
    line += "\r\n";
    return line;
}

void TerminalTranscript::Append(std::string_view line) {
    text_ += line;
    if (text_.size() > kTrimAbove) text_.erase(0, text_.size() - kKeep);
}

}  // namespace qs
