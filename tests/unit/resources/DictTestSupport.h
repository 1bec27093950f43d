#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dictgen/DefinitionRecord.h"
#include "dictgen/DictCompiler.h"

namespace qs::test {

using dictgen::DefinitionRecord;
using dictgen::DictCompilation;
using dictgen::DictCompiler;
using dictgen::DictOutput;
using dictgen::DictSource;

inline std::string DictionarySourceFolder() { return std::string(QS_SOURCE_DIR) + "/src/resources/dictionary"; }

// Compiles source texts given by stem ("System", "Registers", ...), each named "<stem>.txt".
inline DictCompilation CompileTexts(const std::vector<std::pair<std::string, std::string>>& files) {
    std::vector<DictSource> sources;
    for (const auto& [stem, text] : files) sources.push_back({stem + ".txt", stem, text});
    return DictCompiler::Compile(sources);
}

// The project's own dictionary source, compiled once per test program.
inline const DictCompilation& ProjectDictionary() {
    static const DictCompilation compiled = [] {
        std::vector<dictgen::Diagnostic> errors;
        auto sources = DictCompiler::ReadFolder(DictionarySourceFolder(), errors);
        DictCompilation result = DictCompiler::Compile(sources);
        result.errors.insert(result.errors.begin(), errors.begin(), errors.end());
        return result;
    }();
    return compiled;
}

inline const DictOutput* FindOutput(const DictCompilation& c, const std::string& name) {
    for (const auto& o : c.outputs)
        if (o.name == name) return &o;
    return nullptr;
}

// Every record of a definition file; a file that does not end on a record boundary fails.
inline std::vector<DefinitionRecord> ReadRecords(std::string_view bytes) {
    std::vector<DefinitionRecord> records;
    size_t offset = 0;
    while (offset < bytes.size()) {
        auto r = DefinitionRecord::Read(bytes, offset);
        if (!r) {
            ADD_FAILURE() << "the file breaks off inside a record at byte " << offset;
            break;
        }
        records.push_back(std::move(*r));
    }
    return records;
}

inline std::vector<DefinitionRecord> OutputRecords(const DictCompilation& c, const std::string& name) {
    const DictOutput* out = FindOutput(c, name);
    if (!out) {
        ADD_FAILURE() << "no output " << name;
        return {};
    }
    return ReadRecords(out->bytes);
}

// One source block built from key/value pairs, so a test can break exactly one of them.
struct SourceBlock {
    std::string opener;  // "code: 101" or "register: 15 2 0"
    std::vector<std::pair<std::string, std::string>> keys;

    // A register's keys, with the code's register after its name and a default and level.
    static SourceBlock Code(int number, const std::string& name, const std::string& reg) {
        SourceBlock b = Register(reg, name);
        b.opener = "code: " + std::to_string(number);
        b.keys.insert(b.keys.begin() + 1, {"register", reg});
        b.keys.emplace_back("default", "5");
        b.keys.emplace_back("level", "3");
        return b;
    }
    static SourceBlock Register(const std::string& reg, const std::string& name) {
        return {"register: " + reg,
                {{"name", name},
                 {"instances", "0"},
                 {"min", "0"},
                 {"max", "99"},
                 {"format", "%*d"},
                 {"width", "2"},
                 {"precision", "0"},
                 {"help", "Help of " + name + "."}}};
    }
    SourceBlock& Set(const std::string& key, const std::string& value) {
        for (auto& kv : keys)
            if (kv.first == key) {
                kv.second = value;
                return *this;
            }
        keys.emplace_back(key, value);
        return *this;
    }
    SourceBlock& Drop(const std::string& key) {
        std::erase_if(keys, [&](const auto& kv) { return kv.first == key; });
        return *this;
    }
    SourceBlock& Add(const std::string& key, const std::string& value) {
        keys.emplace_back(key, value);
        return *this;
    }
    std::string Text() const {
        std::string text = opener + "\n";
        for (const auto& [k, v] : keys) text += k + ": " + v + "\n";
        return text + "\n";
    }
};

inline std::string Join(const std::vector<SourceBlock>& blocks) {
    std::string text = "# test source\n\n";
    for (const auto& b : blocks) text += b.Text();
    return text;
}

// 1-based number of the first line of `text` that holds `needle`, 0 when none.
inline int LineWith(const std::string& text, const std::string& needle) {
    int line = 1;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (text.compare(start, end - start, needle) == 0 ||
            std::string_view(text).substr(start, end - start).find(needle) != std::string_view::npos)
            return line;
        start = end + 1;
        ++line;
    }
    return 0;
}

// 1-based line number of byte `offset` of `text`.
inline int LineAtOffset(const std::string& text, size_t offset) {
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::min(offset, text.size())), '\n'));
}

// Texts of all faults, one per line, for failure messages.
inline std::string ErrorList(const DictCompilation& c) {
    std::string text;
    for (const auto& e : c.errors) text += e.Text() + "\n";
    return text;
}

}  // namespace qs::test
