#include "appmodel/terminal/CMacro.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "appmodel/terminal/TerminalLog.h"
#include "appmodel/terminal/TerminalText.h"
#include "platform/ProcessLauncher.h"

namespace qs {

namespace {

using Text = TerminalText;

namespace fs = std::filesystem;

constexpr const char* kErrorTexts[] = {
    "No error",
    "Out of memory",
    "Command argument out of range",
    "Cannot perform operation while macro running",
    "Cannot perform operation while recording",
    "File not found",
    "Unable to create file",
    "Label not defined",
    "End of file",
    "LAST ERROR",
};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// A line that is only a label: one word ending in ':'.
bool IsLabel(std::string_view line) {
    return !line.empty() && line.back() == ':' && line.find_first_of(" \t") == std::string_view::npos;
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

}  // namespace

const char* CMacro::ErrorText(int code) {
    constexpr int kRows = static_cast<int>(std::size(kErrorTexts));
    return kErrorTexts[code >= 0 && code < kRows ? code : kLastError];
}

std::vector<std::string> CMacro::SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (lf == std::string_view::npos) break;
        bytes.remove_prefix(lf + 1);
    }
    return lines;
}

std::optional<std::string> CMacro::FindFile(std::string_view name) {
    if (name.empty() || name.find('\0') != std::string_view::npos) return std::nullopt;
    const std::string given(name);
    const size_t slash = given.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : given.substr(0, slash == 0 ? 1 : slash);
    const std::string base = slash == std::string::npos ? given : given.substr(slash + 1);
    std::vector<std::string> wanted = {base};
    if (base.find('.') == std::string::npos) {
        wanted.push_back(base + ".MAC");
        wanted.push_back(base + ".mac");
    }
    const std::string prefix = slash == std::string::npos ? "" : given.substr(0, slash + 1);
    for (const std::string& w : wanted)
        if (IsFile(prefix + w)) return prefix + w;
    if (base.empty()) return std::nullopt;

    // A file copied from a system that ignores case may carry any.
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        names.push_back(it->path().filename().string());
        if (names.size() > 100000) break;
    }
    std::sort(names.begin(), names.end());
    for (const std::string& w : wanted)
        for (const std::string& n : names)
            if (SameIgnoringCase(n, w) && IsFile(prefix + n)) return prefix + n;
    return std::nullopt;
}

CMacro::CMacro(std::string_view fileName, CMacro* outer, MacroServices services)
    : services_(services), name_(fileName), outer_(outer) {
    Load();
}

void CMacro::Load() {
    std::optional<std::string> found = FindFile(name_);
    if (!found) {
        error_ = kFileNotFound;
        return;
    }
    std::ifstream in(*found, std::ios::binary);
    if (!in) {
        error_ = kFileNotFound;
        return;
    }
    std::string bytes;
    char buffer[8192];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<size_t>(in.gcount()));
        if (bytes.size() > kMaxFileBytes) {
            error_ = kOutOfMemory;
            return;
        }
    }
    if (in.bad()) {
        error_ = kFileNotFound;
        return;
    }
    path_ = *found;
    lines_ = SplitLines(bytes);
    state_ = kLoaded;
    CheckState();
}

bool CMacro::CheckState() {
    switch (state_) {
    case kNotLoaded: error_ = kFileNotFound; return false;
    case kLoaded: state_ = kRunning; error_ = kNoError; return true;
    case kRunning: error_ = kNoError; return true;
    case kRecording: error_ = kWhileRecording; return false;
    case kFinished: error_ = kEndOfFile; return false;
    }
    return false;
}

std::optional<std::string> CMacro::GetNextLine() {
    if (state_ != kRunning) return std::nullopt;
    int jumps = 0;
    while (next_ < lines_.size()) {
        const size_t at = next_++;
        const int done = ExecuteStatement(lines_[at]);
        if (done < 0) return std::nullopt;
        if (done == 0) return lines_[at];
        if (Text::StartsWith(lines_[at], "GOTO") && ++jumps > kMaxJumpsPerStep) {
            error_ = kArgumentOutOfRange;
            state_ = kFinished;
            return std::nullopt;
        }
    }
    error_ = kEndOfFile;
    state_ = kFinished;
    return std::nullopt;
}

int CMacro::ExecuteStatement(const std::string& line) {
    if (Text::StartsWith(line, "GOTO")) {
        // The label is what follows "GOTO" and one blank.
        return Jump(line.size() > 5 ? std::string_view(line).substr(5) : std::string_view()) ? 1 : -1;
    }
    if (Text::StartsWith(line, "LOG")) {
        if (!services_.log.IsOpen()) return services_.log.Open(std::string_view(line).substr(3));
        services_.log.Close();
        return 1;
    }
    if (Text::StartsWith(line, "SHELL")) {
        if (services_.log.IsOpen()) services_.log.Write(line + "\r\n");
        RunShell(line.size() > 6 ? line.substr(6) : std::string());
        return 1;
    }
    if (Text::StartsWith(line, "IF") || Text::StartsWith(line, "LET") || Text::StartsWith(line, "ENDIF")) return 1;
    if (IsLabel(line)) return 1;
    return 0;
}

bool CMacro::Jump(std::string_view label) {
    if (!label.empty()) {
        const std::string target = std::string(label) + ":";
        const size_t start = std::min(next_, lines_.size());
        // The first match after the current line, then from the top; the last line has no
        // line after it to go to.
        auto search = [&](size_t from, size_t to) {
            for (size_t i = from; i < to; ++i) {
                if (i + 1 < lines_.size() && lines_[i] == target) {
                    next_ = i + 1;
                    return true;
                }
            }
            return false;
        };
        if (search(start, lines_.size()) || search(0, start)) return true;
    }
    error_ = kLabelNotDefined;
    state_ = kFinished;
    return false;
}

void CMacro::RunShell(const std::string& command) {
    if (command.empty()) return;
    const ProcessLauncher::Started started = services_.launcher.Start("/bin/sh", {"-c", command});
    if (started.ok) services_.launcher.Wait(started.pid);
}

}  // namespace qs
