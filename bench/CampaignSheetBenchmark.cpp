// The campaign window keeps 10 000 rows in one sheet and must answer every edit at once: taking
// the read files in, checking again after one edit, sorting, pasting 10 000 x 3 cells, and the
// memory each row costs.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "campaign/CampaignSheet.h"
#include "campaign/FileReadFailure.h"

namespace {

constexpr size_t kRows = 10000;
constexpr unsigned kCodePage = 936;
constexpr size_t kHeight = 2;

constexpr char kHeader[] =
    "VELMORAN COLLECTED DATA FILE\r\nver 2.1\r\nReceiverID:SN1\r\nDate:2026-03-05\r\n"
    "Model:DRQ-X5\r\nAntHigh:1.523\r\nAntType:DRQK08\r\nMeasureTo:2\r\nX:-2148744.1234\r\n"
    "Y:4426641.5678\r\nZ:4044656.9012\r\nMARKER NAME:S0\r\nREC #:RN-7\r\nREC TYPE:DRQ-X5\r\n"
    "ANT TYPE:DRQK08\r\nINTERVAL:15.0\r\n";

// One raw file read from disk, then given the names of `count` stations, each at its own
// place, as a campaign's files would be.
std::vector<CheckedFile> Campaign(const AntennaCatalogue& catalogue, size_t count) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "S0045A.TZR";
    {
        std::ofstream file(path, std::ios::binary);
        file << kHeader << std::string(4096, '\x01');
    }
    HeaderReadOptions options;
    options.codePage = kCodePage;
    const CheckedFile read =
        ReadCheckedFile(SystemFileSystem(), path.wstring(), catalogue, options);
    std::filesystem::remove(path);
    std::vector<CheckedFile> files(count, read);
    for (size_t i = 0; i < count; ++i) {
        const std::wstring station = L"S" + std::to_wstring(i);
        files[i].path = L"/campaign/" + station + L"045A.TZR";
        files[i].header.stationName = station;
        files[i].header.nameParts.stationName = station;
        files[i].header.approxX += static_cast<double>(i) * 1000;
    }
    return files;
}

size_t ResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stoul(line.substr(6));
    }
    return 0;
}

struct Fixture {
    Fixture() {
        catalogue.UseDefaultList();
        for (CheckedFile& file : Campaign(catalogue, kRows))
            sheet.Add(std::move(file));
        sheet.Recheck();
    }
    AntennaCatalogue catalogue;
    CampaignSheet sheet{catalogue, kCodePage};
};

void BM_SheetTakesTheReadFiles(benchmark::State& state) {
    AntennaCatalogue catalogue;
    catalogue.UseDefaultList();
    const std::vector<CheckedFile> files = Campaign(catalogue, kRows);
    for (auto _ : state) {
        const size_t before = ResidentKiB();
        CampaignSheet sheet(catalogue, kCodePage);
        for (const CheckedFile& file : files)
            sheet.Add(file);
        sheet.Recheck();
        state.counters["KiB per row"] =
            static_cast<double>(ResidentKiB() - before) / static_cast<double>(kRows);
    }
}
BENCHMARK(BM_SheetTakesTheReadFiles)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SheetChecksAgainAfterOneEdit(benchmark::State& state) {
    Fixture fixture;
    for (auto _ : state) {
        fixture.sheet.Apply({{kRows / 2, kHeight, L"1.8"}});
        fixture.sheet.Undo();
    }
}
BENCHMARK(BM_SheetChecksAgainAfterOneEdit)->Unit(benchmark::kMillisecond);

void BM_SheetSortsByAColumn(benchmark::State& state) {
    Fixture fixture;
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture.sheet.View(FieldColumn(kHeight), false, false));
}
BENCHMARK(BM_SheetSortsByAColumn)->Unit(benchmark::kMillisecond);

void BM_SheetPastesThreeColumns(benchmark::State& state) {
    Fixture fixture;
    const std::vector<size_t> view = fixture.sheet.View(kFileNameColumn, true, false);
    const std::vector<std::vector<std::wstring>> cells(kRows, {L"1.8", L"DRQK08", L"A-1"});
    const std::vector<CellEdit> edits = PasteEdits(view, 0, kHeight, cells);
    for (auto _ : state) {
        fixture.sheet.Apply(edits);
        fixture.sheet.Undo();
    }
}
BENCHMARK(BM_SheetPastesThreeColumns)->Unit(benchmark::kMillisecond);

}  // namespace
