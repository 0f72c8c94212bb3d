// The cost of a save: in place it must not depend on the observation data behind the header;
// through a copy it is measured against copying the same file as cp does.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "header/RawFileRewrite.h"
#include "platform/FileSystem.h"

namespace {

const std::string kHeader(400, 'h');

std::filesystem::path BenchDirectory() {
    const std::filesystem::path directory = std::filesystem::temp_directory_path() / "tzr-bench";
    std::filesystem::create_directories(directory);
    return directory;
}

// A raw file whose data is written out for real, so that copying it costs what it costs.
std::filesystem::path DenseRawFile(std::uintmax_t dataSize) {
    const std::filesystem::path path =
        BenchDirectory() / ("dense-" + std::to_string(dataSize) + ".TZR");
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << kHeader;
    std::vector<char> block(1 << 20);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 37 + 11);
    for (std::uintmax_t written = 0; written < dataSize; written += block.size())
        file.write(block.data(), static_cast<std::streamsize>(
                                     std::min<std::uintmax_t>(block.size(), dataSize - written)));
    return path;
}

std::filesystem::path SparseRawFile(std::uintmax_t dataSize) {
    const std::filesystem::path path =
        BenchDirectory() / ("sparse-" + std::to_string(dataSize) + ".TZR");
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << kHeader;
    }
    std::filesystem::resize_file(path, kHeader.size() + dataSize);
    return path;
}

void BM_SaveInPlace(benchmark::State& state) {
    const std::filesystem::path path = SparseRawFile(static_cast<std::uintmax_t>(state.range(0)));
    RewriteRequest request{path.wstring(), path.wstring(), std::string(390, 'n') + "\r\n",
                           *TakeSnapshot(SystemFileSystem(), path.wstring(), 400), false};
    for (auto _ : state) {
        const RewriteOutcome outcome = RewriteRawFile(SystemFileSystem(), request);
        request.before = outcome.after;
    }
    std::filesystem::remove(path);
}

void BM_SaveThroughCopy(benchmark::State& state) {
    const std::filesystem::path path = DenseRawFile(static_cast<std::uintmax_t>(state.range(0)));
    // One byte longer than the region each time, so that every save copies.
    FileSnapshot snapshot = *TakeSnapshot(SystemFileSystem(), path.wstring(), kHeader.size());
    for (auto _ : state) {
        const RewriteRequest request{path.wstring(), path.wstring(),
                                     std::string(snapshot.headerRegion.size(), 'n') + "\n",
                                     snapshot, false};
        snapshot = RewriteRawFile(SystemFileSystem(), request).after;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
    std::filesystem::remove(path);
}

// The physical reference: the same file copied on the same disk.
void BM_CopyFile(benchmark::State& state) {
    const std::filesystem::path path = DenseRawFile(static_cast<std::uintmax_t>(state.range(0)));
    const std::filesystem::path copy = path.string() + ".copy";
    for (auto _ : state)
        std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
    std::filesystem::remove(copy);
    std::filesystem::remove(path);
}

// The same, and the copy then forced to the disk, as a save must before it replaces anything.
void BM_CopyFileAndSync(benchmark::State& state) {
    const std::filesystem::path path = DenseRawFile(static_cast<std::uintmax_t>(state.range(0)));
    const std::filesystem::path copy = path.string() + ".copy";
    for (auto _ : state) {
        std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
        const int descriptor = ::open(copy.c_str(), O_RDONLY);
        ::fsync(descriptor);
        ::close(descriptor);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
    std::filesystem::remove(copy);
    std::filesystem::remove(path);
}

constexpr int64_t kMegabyte = int64_t{1} << 20;
constexpr int64_t kGigabyte = int64_t{1} << 30;

}  // namespace

BENCHMARK(BM_SaveInPlace)->Arg(kMegabyte)->Arg(kGigabyte);
BENCHMARK(BM_SaveThroughCopy)->Arg(256 * kMegabyte)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyFile)->Arg(256 * kMegabyte)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopyFileAndSync)->Arg(256 * kMegabyte)->Unit(benchmark::kMillisecond)->UseRealTime();
