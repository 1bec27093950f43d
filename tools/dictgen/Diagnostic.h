#pragma once
#include <string>

namespace qs::dictgen {

// One fault in the dictionary source, reported as "file:line: error: message" so an editor or
// the build log leads straight to it.
struct Diagnostic {
    std::string file;
    int line = 0;
    std::string message;

    std::string Text() const {
        std::string text = file;
        if (line > 0) text += ":" + std::to_string(line);
        return text + ": error: " + message;
    }
};

}  // namespace qs::dictgen
