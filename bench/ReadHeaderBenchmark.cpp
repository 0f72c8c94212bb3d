// Reading a header must cost the same whatever the size of the observation data behind it.
// The large files are sparse, so they take no disk space; their data starts with a control byte
// as a receiver's does.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "antenna/AntennaCatalogue.h"
#include "header/HeaderReader.h"
#include "platform/FileSystem.h"

namespace {

const char kHeader[] =
    "VELMORAN COLLECTED DATA FILE\r\nver 2.1\r\nReceiverID:SN12345\r\nDate:2024-03-05\r\n"
    "Model:DRQ-X5\r\nAntHigh:1.523\r\nHEIGHT OFFSET:0.000\r\nAntType:DRQK08\r\nMeasureTo:2\r\n"
    "X:-2148744.1234\r\nY:4426641.5678\r\nZ:4044656.9012\r\nMARKER NAME:EFGH\r\n"
    "MARKER NUMBER:P01\r\nREC #:RN-7\r\nREC TYPE:DRQ-X5\r\nREC VERS:3.2.1\r\nANT #:A-99\r\n"
    "ANT TYPE:DRQK08\r\nINTERVAL:15.0\r\nTIME OF FIRST OBS:2024 3 5 1 2 3.0\r\n"
    "LEAP SECONDS:18\r\n\x02";

std::filesystem::path RawFileWithData(std::uintmax_t dataSize) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("tzr-bench-" + std::to_string(dataSize) + ".TZR");
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << kHeader;
    }
    std::filesystem::resize_file(path, sizeof(kHeader) - 1 + dataSize);
    return path;
}

void BM_ReadStationHeader(benchmark::State& state) {
    const std::filesystem::path path = RawFileWithData(static_cast<std::uintmax_t>(state.range(0)));
    AntennaCatalogue catalogue;
    catalogue.UseDefaultList();
    for (auto _ : state) {
        StationHeader header;
        ReadStationHeader(path.wstring(), catalogue, header);
        benchmark::DoNotOptimize(header);
    }
    std::filesystem::remove(path);
}

// The physical reference: opening the file and reading one 4 KiB block.
void BM_Read4KiB(benchmark::State& state) {
    const std::filesystem::path path = RawFileWithData(static_cast<std::uintmax_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadFileBytes(path.wstring(), 4096));
    std::filesystem::remove(path);
}

constexpr int64_t kMegabyte = int64_t{1} << 20;
constexpr int64_t kGigabyte = int64_t{1} << 30;

}  // namespace

BENCHMARK(BM_ReadStationHeader)->Arg(kMegabyte)->Arg(kGigabyte);
BENCHMARK(BM_Read4KiB)->Arg(kMegabyte)->Arg(kGigabyte);

BENCHMARK_MAIN();
