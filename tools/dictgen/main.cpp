// dictgen: builds "PARAM.DAT" and the ".SD3" directory files from the dictionary source.
//   dictgen <source folder> <output folder>
#include <cstdio>
#include <string>

#include "dictgen/DictCompiler.h"

int main(int argc, char** argv) {
    using namespace qs::dictgen;
    if (argc != 3) {
        std::fprintf(stderr, "usage: dictgen <source folder> <output folder>\n");
        return 2;
    }
    std::vector<Diagnostic> errors;
    std::vector<DictSource> sources = DictCompiler::ReadFolder(argv[1], errors);
    DictCompilation result;
    if (errors.empty()) {
        result = DictCompiler::Compile(sources);
        errors = result.errors;
    }
    if (!errors.empty()) {
        for (const Diagnostic& d : errors) std::fprintf(stderr, "%s\n", d.Text().c_str());
        std::fprintf(stderr, "dictgen: %zu error(s) in the dictionary source; nothing written\n", errors.size());
        return 1;
    }
    std::string error;
    if (!DictCompiler::Write(result.outputs, argv[2], error)) {
        std::fprintf(stderr, "dictgen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
