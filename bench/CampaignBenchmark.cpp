// Campaign tables of a million rows must load in seconds and in bounded memory: reading the
// table (its encoding, its rows, the duplicate-row check) from memory and through whole `check
// --from` and `set --from` runs on a table file, and planning a batch of 100 000 stations
// (finding each file's row, checking that no two files end up with one name).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "campaign/BatchNames.h"
#include "campaign/CampaignLoad.h"
#include "cli/Tzrhdr.h"

namespace {

constexpr size_t kStations = 100000;
constexpr size_t kTableRows = 1000000;
constexpr size_t kRawFiles = 10;

std::wstring FileName(size_t station) {
    return L"S" + std::to_wstring(100000 + station) + L"045A.TZR";
}

// A row as show --csv writes it for a campaign, with a Chinese station name.
std::string TableRow(size_t i) {
    const std::string number = std::to_string(100000 + i);
    return "S" + number + "045A.TZR,\xE6\xB5\x8B\xE7\xAB\x99" + number + ",1.523,3,15\r\n";
}

constexpr char kTableStart[] =
    "\xEF\xBB\xBF"
    "file,station,antenna-height,measure-to,interval\r\n";

std::string CampaignTable(size_t rows) {
    std::string table = kTableStart;
    for (size_t i = 0; i < rows; ++i)
        table += TableRow(i);
    return table;
}

std::filesystem::path BenchDirectory() {
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / "tzr-bench-campaign";
    std::filesystem::create_directories(directory);
    return directory;
}

// The table file written row by row, so that the benchmark itself never holds it whole.
std::filesystem::path TableFile(size_t rows) {
    const std::filesystem::path path =
        BenchDirectory() / ("table-" + std::to_string(rows) + ".csv");
    if (std::filesystem::exists(path))
        return path;
    std::ofstream file(path, std::ios::binary);
    file << kTableStart;
    for (size_t i = 0; i < rows; ++i)
        file << TableRow(i);
    return path;
}

// The first raw files of the campaign: header and a little data.
std::vector<std::wstring> RawFiles(size_t count) {
    std::vector<std::wstring> paths;
    for (size_t i = 0; i < count; ++i) {
        const std::filesystem::path path = BenchDirectory() / FileName(i);
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << "VELMORAN COLLECTED DATA FILE\r\nver 2.1\r\nReceiverID:SN1\r\nDate:2026-03-05\r\n"
                "Model:DRQ-X5\r\nAntHigh:1.523\r\nHEIGHT OFFSET:0.000\r\nAntType:DRQK08\r\n"
                "MeasureTo:3\r\nX:-2148744.1234\r\nY:4426641.5678\r\nZ:4044656.9012\r\n"
                "MARKER NAME:S"
             << 100000 + i << "\r\nREC #:RN-7\r\nREC TYPE:DRQ-X5\r\nANT TYPE:DRQK08\r\n"
             << std::string(4096, '\x5A');
        paths.push_back(path.wstring());
    }
    return paths;
}

double PeakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

void BM_LoadCampaignTable(benchmark::State& state) {
    const std::string bytes = CampaignTable(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        const LoadedTable loaded = LoadCampaignTable(bytes, {std::nullopt, 936});
        if (!loaded.table || loaded.table->RowCount() != static_cast<size_t>(state.range(0)))
            state.SkipWithError("the table was not read");
    }
}
BENCHMARK(BM_LoadCampaignTable)->Arg(kTableRows)->Unit(benchmark::kMillisecond);

// A whole tzrhdr run with a table of a million rows against a few files. The peak memory is the
// process's, so run each alone (--benchmark_filter).
void RunWithMillionRowTable(benchmark::State& state, std::vector<std::wstring> args) {
    const std::filesystem::path table = TableFile(kTableRows);
    args.insert(args.end(), {L"--codepage", L"936", L"--from", table.wstring()});
    for (const std::wstring& file : RawFiles(kRawFiles))
        args.push_back(file);
    for (auto _ : state) {
        // What a run prints goes nowhere, as to a file on a fast disk, and takes no memory here.
        std::ostream nowhere(nullptr);
        RunTzrhdr(args, nowhere, nowhere, ToolEnvironment{});
    }
    state.counters["peak_MiB"] = PeakMemoryMiB();
}

void BM_CheckFromMillionRows(benchmark::State& state) {
    RunWithMillionRowTable(state, {L"check"});
}
BENCHMARK(BM_CheckFromMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SetFromMillionRows(benchmark::State& state) {
    RunWithMillionRowTable(state, {L"set", L"--dry-run", L"--no-journal"});
}
BENCHMARK(BM_SetFromMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PlanCampaignTable(benchmark::State& state) {
    const size_t rows = static_cast<size_t>(state.range(0));
    const std::string bytes = CampaignTable(rows);
    std::vector<std::wstring> files;
    for (size_t i = 0; i < rows; ++i)
        files.push_back(FileName(i));
    for (auto _ : state) {
        const LoadedTable loaded = LoadCampaignTable(bytes, {std::nullopt, 936});
        size_t found = 0;
        for (const std::wstring& file : files)
            found += loaded.table->FindRow(file, L"") >= 0 ? 1 : 0;
        if (found != rows)
            state.SkipWithError("a row was not found");
    }
}
BENCHMARK(BM_PlanCampaignTable)->Arg(kStations)->Unit(benchmark::kMillisecond);

void BM_BatchNameClashes(benchmark::State& state) {
    std::vector<std::wstring> paths;
    std::vector<std::wstring> newPaths;
    for (size_t i = 0; i < static_cast<size_t>(state.range(0)); ++i) {
        paths.push_back(L"/campaign/" + FileName(i));
        newPaths.push_back(L"/campaign/P" + std::to_wstring(i) + L"045A.TZR");
    }
    std::vector<BatchFile> batch;
    for (size_t i = 0; i < paths.size(); ++i)
        batch.push_back({paths[i], newPaths[i]});
    for (auto _ : state)
        benchmark::DoNotOptimize(NameClashes(batch));
}
BENCHMARK(BM_BatchNameClashes)->Arg(kStations)->Unit(benchmark::kMillisecond);

}  // namespace
