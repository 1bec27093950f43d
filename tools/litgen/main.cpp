// litgen: checks the literal table and the revision edit lists and writes them as C++.
//   litgen <Literals.txt> <RevisionEdits.txt> <output .cpp>
#include <cstdio>
#include <string>

#include "litgen/LiteralSource.h"
#include "platform/ArchiveReader.h"
#include "platform/AtomicFile.h"

namespace {

bool ReadSource(const char* path, std::string& text) {
    if (qs::ArchiveReader::ReadFile(path, 16u << 20, text) == qs::ArchiveReader::FileStatus::Ok) return true;
    std::fprintf(stderr, "litgen: cannot read %s\n", path);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace qs::litgen;
    if (argc != 4) {
        std::fprintf(stderr, "usage: litgen <Literals.txt> <RevisionEdits.txt> <output .cpp>\n");
        return 2;
    }
    std::string literals, edits;
    if (!ReadSource(argv[1], literals) || !ReadSource(argv[2], edits)) return 1;
    std::vector<Diagnostic> errors;
    const LiteralSource source = LiteralSource::Parse(argv[1], literals, argv[2], edits, errors);
    if (!errors.empty()) {
        for (const Diagnostic& d : errors) std::fprintf(stderr, "%s\n", d.Text().c_str());
        std::fprintf(stderr, "litgen: %zu error(s) in the literal source; nothing written\n", errors.size());
        return 1;
    }
    if (!qs::WriteFileAtomically(argv[3], source.EmitCpp())) {
        std::fprintf(stderr, "litgen: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
