// Planning a campaign of 100 000 stations must take seconds at most: reading the table (its
// encoding, its rows, the duplicate-row check), finding each file's row, and checking that no
// two files of the batch end up with one name.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "campaign/BatchNames.h"
#include "campaign/CampaignLoad.h"
#include "campaign/TableEncoding.h"

namespace {

constexpr size_t kStations = 100000;

std::wstring FileName(size_t station) {
    return L"S" + std::to_wstring(100000 + station) + L"045A.TZR";
}

// What show --csv writes for a campaign, with a Chinese station name in every row.
std::string CampaignTable(size_t rows) {
    std::string table =
        "\xEF\xBB\xBF"
        "file,station,antenna-height,measure-to,interval\r\n";
    for (size_t i = 0; i < rows; ++i) {
        const std::string number = std::to_string(100000 + i);
        table += "S" + number + "045A.TZR,\xE6\xB5\x8B\xE7\xAB\x99" + number + ",1.523,3,15\r\n";
    }
    return table;
}

void BM_PlanCampaignTable(benchmark::State& state) {
    const size_t rows = static_cast<size_t>(state.range(0));
    const std::string bytes = CampaignTable(rows);
    std::vector<std::wstring> files;
    for (size_t i = 0; i < rows; ++i)
        files.push_back(FileName(i));
    for (auto _ : state) {
        const LoadedTable loaded = LoadCampaignTable(bytes, {std::nullopt, 936});
        const std::optional<Campaign>& campaign = loaded.table;
        size_t found = 0;
        for (const std::wstring& file : files)
            found += campaign->FindRow(file, L"") >= 0 ? 1 : 0;
        if (found != rows)
            state.SkipWithError("a row was not found");
    }
}
BENCHMARK(BM_PlanCampaignTable)->Arg(kStations)->Unit(benchmark::kMillisecond);

void BM_BatchNameClashes(benchmark::State& state) {
    std::vector<BatchFile> batch;
    for (size_t i = 0; i < static_cast<size_t>(state.range(0)); ++i)
        batch.push_back(
            {L"/campaign/" + FileName(i), L"/campaign/P" + std::to_wstring(i) + L"045A.TZR"});
    for (auto _ : state)
        benchmark::DoNotOptimize(NameClashes(batch));
}
BENCHMARK(BM_BatchNameClashes)->Arg(kStations)->Unit(benchmark::kMillisecond);

}  // namespace
