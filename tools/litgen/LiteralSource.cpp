#include "litgen/LiteralSource.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "sidedocs/translations/DeviceLiterals.h"
#include "sidedocs/translations/TranslationRevisions.h"

namespace qs::litgen {

namespace {

// The lines of a file with their numbers; a CR before the LF is dropped.
std::vector<std::pair<int, std::string_view>> Lines(std::string_view text) {
    std::vector<std::pair<int, std::string_view>> out;
    int number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        out.emplace_back(++number, line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return out;
}

bool IsComment(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '#';
}

bool Printable(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

void ReadTexts(std::string_view name, std::string_view source, LiteralSource& out, std::vector<Diagnostic>& errors) {
    const std::string file(name);
    // One misnumbered entry is reported; the entries after it are not all reported again.
    bool numbering = true;
    for (const auto& entry : Lines(source)) {
        const int number = entry.first;
        const std::string_view line = entry.second;
        if (IsComment(line)) continue;
        auto fail = [&](const std::string& message) { errors.push_back({file, number, message}); };
        // "NNNN text": four digits, one blank, the text (the blank is left out before an empty text).
        if (line.size() < 4 || !std::all_of(line.begin(), line.begin() + 4, [](char c) { return c >= '0' && c <= '9'; }) ||
            (line.size() > 4 && line[4] != ' ')) {
            fail("expected a four-digit entry number, a blank and the text");
            out.texts.emplace_back();
            continue;
        }
        const size_t index = static_cast<size_t>(std::atoi(std::string(line.substr(0, 4)).c_str()));
        const std::string_view text = line.size() > 4 ? line.substr(5) : std::string_view();
        if (numbering && index != out.texts.size()) {
            fail("entry " + std::string(line.substr(0, 4)) + " where entry " + std::to_string(out.texts.size()) +
                 " was expected");
            numbering = false;
        }
        if (!Printable(text)) fail("entry " + std::to_string(index) + " has a character outside printable ASCII");
        if (text.size() > DeviceLiterals::kMaxLength) {
            fail("entry " + std::to_string(index) + " is " + std::to_string(text.size()) + " characters; at most " +
                 std::to_string(DeviceLiterals::kMaxLength) + " are allowed");
        }
        out.texts.emplace_back(text);
    }
    if (out.texts.size() != DeviceLiterals::kTableSize) {
        errors.push_back({file, 0, "the table has " + std::to_string(out.texts.size()) + " entries; it must have " +
                                       std::to_string(DeviceLiterals::kTableSize)});
    } else if (out.texts.back() != DeviceLiterals::kSentinel) {
        errors.push_back({file, 0, "the last entry must be the sentinel \"" + std::string(DeviceLiterals::kSentinel) +
                                       "\", not \"" + out.texts.back() + "\""});
    }
    for (size_t i = 0; i + 1 < out.texts.size(); ++i) {
        if (out.texts[i] == DeviceLiterals::kSentinel)
            errors.push_back({file, 0, "entry " + std::to_string(i) + " is the sentinel, which must come last only"});
    }
}

// "11.25: 266 266 -4000"
void ReadEdits(std::string_view name, std::string_view source, LiteralSource& out, std::vector<Diagnostic>& errors) {
    const std::string file(name);
    std::set<size_t> rowsSeen;
    for (const auto& entry : Lines(source)) {
        const int number = entry.first;
        const std::string_view line = entry.second;
        if (IsComment(line)) continue;
        auto fail = [&](const std::string& message) { errors.push_back({file, number, message}); };
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            fail("expected \"revision: edits\"");
            continue;
        }
        EditRow row;
        row.line = number;
        row.revision = std::string(line.substr(0, colon));
        row.revision.erase(0, row.revision.find_first_not_of(" \t"));
        row.revision.erase(row.revision.find_last_not_of(" \t") + 1);
        char* end = nullptr;
        row.value = std::strtof(row.revision.c_str(), &end);
        const std::optional<size_t> found =
            end && *end == '\0' && !row.revision.empty() ? TranslationRevisions::FindRow(row.value) : std::nullopt;
        if (!found) {
            fail("\"" + row.revision + "\" is not a revision of the revision table");
            continue;
        }
        if (*found + 1 == TranslationRevisions::kRowCount) {
            fail("the current revision has no next revision to be upgraded to");
            continue;
        }
        if (!rowsSeen.insert(*found).second) {
            fail("revision " + row.revision + " has a second edit list");
            continue;
        }
        const std::string rest(line.substr(colon + 1));
        const char* p = rest.c_str();
        bool bad = false;
        while (true) {
            while (*p == ' ' || *p == '\t') ++p;
            if (*p == '\0') break;
            const long v = std::strtol(p, &end, 10);
            if (end == p || (*end != '\0' && *end != ' ' && *end != '\t')) {
                fail("edits are whole numbers separated by blanks");
                bad = true;
                break;
            }
            p = end;
            if (v == 0 || v > static_cast<long>(DeviceLiterals::kTableSize) ||
                v < -static_cast<long>(DeviceLiterals::kTableSize)) {
                fail("edit " + std::to_string(v) + " is not a position of the table (1 to " +
                     std::to_string(DeviceLiterals::kTableSize) + ", negative to remove)");
                bad = true;
                break;
            }
            // The walk visits the positions in ascending order: an edit behind its predecessor
            // would never be reached.
            if (!row.edits.empty() && std::labs(v) < std::labs(row.edits.back())) {
                fail("edit " + std::to_string(v) + " comes after edit " + std::to_string(row.edits.back()) +
                     " of a later position");
                bad = true;
                break;
            }
            row.edits.push_back(static_cast<int>(v));
        }
        if (!bad) out.editRows.push_back(std::move(row));
    }
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

LiteralSource LiteralSource::Parse(std::string_view literalsName, std::string_view literals, std::string_view editsName,
                                   std::string_view edits, std::vector<Diagnostic>& errors) {
    LiteralSource out;
    ReadTexts(literalsName, literals, out, errors);
    ReadEdits(editsName, edits, out, errors);
    return out;
}

std::string LiteralSource::EmitCpp() const {
    std::string s = "// Generated by litgen from src/resources/literals; do not edit.\n"
                    "#include \"sidedocs/translations/LiteralData.h\"\n\n"
                    "namespace qs::literal_data {\n\n"
                    "// A count other than the declared one does not compile.\n"
                    "const char* const kTexts[] = {\n";
    for (const std::string& text : texts) s += "    " + Quoted(text) + ",\n";
    s += "};\n\nnamespace {\n";
    for (size_t i = 0; i < editRows.size(); ++i) {
        s += "const int kEdits" + std::to_string(i) + "[] = {";
        for (size_t k = 0; k < editRows[i].edits.size(); ++k) {
            if (k) s += ", ";
            s += std::to_string(editRows[i].edits[k]);
        }
        s += "};\n";
    }
    s += "}  // namespace\n\nconst RevisionEdits kRevisionEdits[] = {\n";
    for (size_t i = 0; i < editRows.size(); ++i) {
        s += "    {" + editRows[i].revision + "f, kEdits" + std::to_string(i) + ", " +
             std::to_string(editRows[i].edits.size()) + "},\n";
    }
    if (editRows.empty()) s += "    {-1.0f, nullptr, 0},\n";
    s += "};\nconst size_t kRevisionEditCount = " + std::to_string(editRows.size()) + ";\n\n}  // namespace qs::literal_data\n";
    return s;
}

}  // namespace qs::litgen
