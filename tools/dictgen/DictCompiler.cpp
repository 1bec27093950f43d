#include "dictgen/DictCompiler.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "dictgen/DefinitionRecord.h"
#include "dictgen/DictSourceParser.h"
#include "dictgen/DictValidator.h"
#include "dictgen/DirectoryTable.h"
#include "platform/AtomicFile.h"

namespace qs::dictgen {

std::vector<std::string> DictCompiler::SourceStems() {
    std::vector<std::string> stems;
    for (const auto& d : Directories()) stems.push_back(d.name);
    stems.emplace_back(kRegistersStem);
    return stems;
}

std::vector<DictSource> DictCompiler::ReadFolder(const std::string& folder, std::vector<Diagnostic>& errors) {
    std::vector<DictSource> sources;
    for (const std::string& stem : SourceStems()) {
        std::string path = folder + "/" + stem + std::string(kSourceExtension);
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            errors.push_back({path, 0, std::string("cannot read the file: ") + std::strerror(errno)});
            continue;
        }
        std::ostringstream text;
        text << in.rdbuf();
        sources.push_back({path, stem, text.str()});
    }
    return sources;
}

DictCompilation DictCompiler::Compile(const std::vector<DictSource>& sources) {
    DictCompilation result;
    std::vector<const DirectoryInfo*> directoryFiles;  // in the order given
    for (const DictSource& source : sources) {
        const DirectoryInfo* dir = FindDirectory(source.stem);
        if (!dir && source.stem != kRegistersStem) {
            result.errors.push_back({source.path, 0, "\"" + source.stem + "\" is neither a directory nor the registers file"});
            continue;
        }
        DictSourceParser parser(source.path, dir ? dir->name : std::string());
        std::vector<DictEntry> entries = parser.Parse(source.text, result.errors);
        if (dir) directoryFiles.push_back(dir);
        for (auto& e : entries) result.entries.push_back(std::move(e));
    }

    for (const DictEntry& e : result.entries) DictValidator::CheckEntry(e, result.errors);

    std::map<std::string, std::vector<const DictEntry*>> byDirectory;
    std::vector<const DictEntry*> all;
    for (const DictEntry& e : result.entries) {
        all.push_back(&e);
        if (e.isCode) byDirectory[e.directory].push_back(&e);
    }
    for (const DirectoryInfo* dir : directoryFiles) DictValidator::CheckDirectory(*dir, byDirectory[dir->name], result.errors);
    DictValidator::CheckRegisters(all, result.errors);
    if (!result.errors.empty()) return result;

    // Directory files: the codes in the order the device walk asks for them.
    for (const DirectoryInfo* dir : directoryFiles) {
        std::vector<const DictEntry*> codes = byDirectory[dir->name];
        std::stable_sort(codes.begin(), codes.end(), [d = dir](const DictEntry* a, const DictEntry* b) {
            return *d->WalkKey(static_cast<int>(a->number)) < *d->WalkKey(static_cast<int>(b->number));
        });
        DictOutput out{dir->name + std::string(kDirectoryFileExtension), {}};
        for (const DictEntry* e : codes)
            DefinitionRecord::FromEntry(*e, static_cast<uint16_t>(e->number)).AppendTo(out.bytes);
        result.outputs.push_back(std::move(out));
    }

    // The dictionary: one record per register, the first block that defines it.
    std::map<std::tuple<long long, long long, long long>, const DictEntry*> registers;
    for (const DictEntry* e : all) registers.emplace(std::make_tuple(e->dictionary, e->dataType, e->position), e);
    DictOutput dictionary{std::string(kDictionaryFileName), {}};
    for (const auto& [key, e] : registers)
        DefinitionRecord::FromEntry(*e, static_cast<uint16_t>(e->dataType * 100 + e->position)).AppendTo(dictionary.bytes);
    result.outputs.insert(result.outputs.begin(), std::move(dictionary));
    return result;
}

bool DictCompiler::Write(const std::vector<DictOutput>& outputs, const std::string& folder, std::string& error) {
    for (const DictOutput& out : outputs) {
        std::string path = folder + "/" + out.name;
        if (!WriteFileAtomically(path, out.bytes)) {
            error = path + ": cannot write the file: " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

}  // namespace qs::dictgen
