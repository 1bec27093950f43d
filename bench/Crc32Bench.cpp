// The block-transfer checksum set against zlib's crc32 on the same buffers: the two compute
// the same CRC, so the ratio of their throughputs is what our table method costs.
#include <zlib.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "link/Crc32.h"

namespace {

std::vector<unsigned char> Buffer(size_t size) {
    std::vector<unsigned char> data(size);
    std::mt19937 rng(5);
    for (auto& b : data) b = static_cast<unsigned char>(rng());
    return data;
}

void Crc32Ours(benchmark::State& state) {
    const auto data = Buffer(static_cast<size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(qs::Crc32(data.data(), data.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(Crc32Ours)->Arg(1024)->Arg(65536)->Arg(1 << 20);

void Crc32Zlib(benchmark::State& state) {
    const auto data = Buffer(static_cast<size_t>(state.range(0)));
    if (::crc32(0, data.data(), static_cast<uInt>(data.size())) != qs::Crc32(data.data(), data.size())) {
        state.SkipWithError("zlib and ours disagree");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(::crc32(0, data.data(), static_cast<uInt>(data.size())));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(Crc32Zlib)->Arg(1024)->Arg(65536)->Arg(1 << 20);

}  // namespace
