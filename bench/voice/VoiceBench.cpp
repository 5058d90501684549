// SPDX-License-Identifier: GPL-3.0-or-later
// What the voice costs at start-up and per clip, without any sound server.

#include "voice/ClipExtractor.h"
#include "voice/WavFile.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The committed recordings when they are there, else silent clips of the same sizes.
std::vector<voice::ClipData> clips() {
    std::vector<voice::ClipData> result;
    for (int n = 100; n <= 118; ++n) {
        std::ifstream in(std::string(CLIP_SOURCE_DIR) + "/" + std::to_string(n) + ".wav",
                         std::ios::binary);
        std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
        if (bytes.empty()) {
            bytes.assign(18000, 0);
        }
        result.push_back({n, std::move(bytes)});
    }
    return result;
}

std::string freshFolder() {
    std::string pattern = (fs::temp_directory_path() / "voice-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    return pattern;
}

void extractClipsAtStart(benchmark::State& state) {
    const auto carried = clips();
    const std::string folder = freshFolder();
    for (auto _ : state) {
        benchmark::DoNotOptimize(voice::extractClips(folder, carried));
    }
    std::size_t bytes = 0;
    for (const auto& clip : carried) {
        bytes += clip.bytes.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    fs::remove_all(folder);
}
BENCHMARK(extractClipsAtStart)->Unit(benchmark::kMillisecond);

// The decoding the player does on its own thread before each clip sounds.
void decodeLongestClip(benchmark::State& state) {
    const std::string folder = freshFolder();
    voice::extractClips(folder, clips());
    const std::string path = folder + "/111.wav";
    for (auto _ : state) {
        benchmark::DoNotOptimize(voice::WavFile::load(path));
    }
    fs::remove_all(folder);
}
BENCHMARK(decodeLongestClip)->Unit(benchmark::kMicrosecond);

} // namespace
