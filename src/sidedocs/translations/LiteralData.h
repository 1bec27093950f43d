#pragma once
#include <cstddef>

// What the literal generator (tools/litgen) writes from src/resources/literals at build time.
namespace qs::literal_data {

inline constexpr size_t kTextCount = 4575;
extern const char* const kTexts[kTextCount];

// The edit list that turns a text array of `revision` into one of the next revision.
struct RevisionEdits {
    float revision;
    const int* edits;
    size_t count;
};
extern const RevisionEdits kRevisionEdits[];
extern const size_t kRevisionEditCount;

}  // namespace qs::literal_data
