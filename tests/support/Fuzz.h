#pragma once
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace qs::test {

// A bounded fuzz run: `iterations` random inputs and mutations of the given seeds, fed to
// `target`. The target must not crash or hang; the sanitizer build turns any memory fault into
// a failure. Bounded by count, never by time, so a run is the same on any machine for a seed.
struct FuzzOptions {
    int iterations = 20000;
    size_t maxLength = 4096;
    uint32_t seed = 12345;
};

inline int RunFuzz(const std::vector<std::string>& seeds, const std::function<void(const std::string&)>& target,
                   FuzzOptions opt = {}) {
    std::mt19937 rng(opt.seed);
    auto byte = [&] { return static_cast<char>(rng() & 0xFF); };
    int runs = 0;
    for (; runs < opt.iterations; ++runs) {
        std::string input;
        if (seeds.empty() || rng() % 4 == 0) {
            input.resize(rng() % (opt.maxLength + 1));
            for (auto& c : input) c = byte();
        } else {
            input = seeds[rng() % seeds.size()];
            int edits = 1 + static_cast<int>(rng() % 8);
            for (int e = 0; e < edits; ++e) {
                switch (rng() % 5) {
                case 0: if (!input.empty()) input[rng() % input.size()] = byte(); break;
                case 1: if (input.size() < opt.maxLength) input.insert(input.begin() + static_cast<std::ptrdiff_t>(rng() % (input.size() + 1)), byte()); break;
                case 2: if (!input.empty()) input.erase(rng() % input.size(), 1); break;
                case 3: if (!input.empty()) input.resize(rng() % input.size()); break;
                case 4: if (!input.empty()) input[rng() % input.size()] ^= static_cast<char>(1u << (rng() % 8)); break;
                }
            }
        }
        target(input);
    }
    return runs;
}

}  // namespace qs::test
