#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "FaultyFileSystem.h"
#include "TestFiles.h"
#include "TzrhdrRun.h"
#include "campaign/Csv.h"
#include "cli/Json.h"
#include "platform/DirectorySeparator.h"

namespace {

std::string RawHeader(const std::string& station, const std::string& height,
                      const std::string& antenna = "DRQK08") {
    return CrLfLines({"VELMORAN COLLECTED DATA FILE",
                      "ver 2.1",
                      "ReceiverID:SN1",
                      "Date:2026-03-05",
                      "Model:DRQ-X5",
                      "AntHigh:" + height,
                      "HEIGHT OFFSET:0.000",
                      "AntType:" + antenna,
                      "MeasureTo:2",
                      "X:-2148744.1234",
                      "Y:4426641.5678",
                      "Z:4044656.9012",
                      "MARKER NAME:" + station,
                      "MARKER NUMBER:P01",
                      "REC #:RN-7",
                      "REC TYPE:DRQ-X5",
                      "REC VERS:3.2.1",
                      "ANT #:A-99",
                      "ANT TYPE:" + antenna,
                      "INTERVAL:15.0",
                      "TIME OF FIRST OBS:2026 3 5 1 2 3.0",
                      "LEAP SECONDS:18"});
}

class TzrhdrSet : public testing::Test {
  protected:
    std::wstring RawFile(const std::wstring& name, const std::string& station,
                         const std::string& height = "1.523",
                         const std::string& antenna = "DRQK08") {
        return directory.WriteFile(name, RawHeader(station, height, antenna) + data);
    }

    std::vector<std::wstring> Args(std::initializer_list<std::wstring> args) {
        std::vector<std::wstring> all = {L"set", L"--no-journal", L"--codepage", L"936"};
        all.insert(all.end(), args);
        return all;
    }

    TemporaryDirectory directory;
    std::string data = ObservationData(5000);
};

TEST_F(TzrhdrSet, EditsTheHeaderAndRenamesTheFile) {
    const std::wstring path = RawFile(L"ABCD123A.TZR", "ABCD");
    const RunResult result =
        RunTool(Args({L"--station", L"\u6D4B\u7AD9", L"--antenna-height", L"1.2345",
                      L"--measure-to", L"\u5929\u7EBF\u659C\u9AD8", L"--antenna-type",
                      L"DRQK04              ", L"--x", L"12.5", path}));
    EXPECT_EQ(result.status, 0) << result.err;
    const std::wstring renamed = directory.PathOf(L"\u6D4B\u7AD9123A.TZR");
    EXPECT_FALSE(Exists(path));
    const std::string written = ReadWholeFile(renamed);
    EXPECT_TRUE(EndsWith(written, data));
    EXPECT_EQ(written.substr(0, written.size() - data.size()),
              CrLfLines({"VELMORAN COLLECTED DATA FILE",
                         "ver 2.1",
                         "ReceiverID:SN1",
                         "Date:2026-03-05",
                         "Model:DRQ-X5",
                         "AntHigh:1.235",
                         "HEIGHT OFFSET:0.000",
                         "AntType:DRQK04              ",
                         "MeasureTo:3",
                         "X:12.5000",
                         "Y:4426641.5678",
                         "Z:4044656.9012",
                         "MARKER NAME:\xB2\xE2\xD5\xBE",
                         "MARKER NUMBER:P01",
                         "REC #:RN-7",
                         "REC TYPE:DRQ-X5",
                         "REC VERS:3.2.1",
                         "ANT #:A-99",
                         "ANT TYPE:DRQK04              ",
                         "INTERVAL:15.0",
                         "TIME OF FIRST OBS:2026 3 5 1 2 3.0",
                         "LEAP SECONDS:18"}));
    EXPECT_NE(result.out.find("1 file: 0 changed, 1 renamed, 0 unchanged, 0 failed"),
              std::string::npos);
}

TEST_F(TzrhdrSet, DryRunShowsTheChangesAndWritesNothing) {
    const std::wstring path = RawFile(L"ABCD123A.TZR", "ABCD");
    const std::string before = ReadWholeFile(path);
    const RunResult result = RunTool(Args({L"--dry-run", L"--station", L"EFGH", path}));
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(ReadWholeFile(path) == before);
    EXPECT_FALSE(Exists(directory.PathOf(L"EFGH123A.TZR")));
    EXPECT_NE(result.out.find("  - MARKER NAME:ABCD\n  + MARKER NAME:EFGH\n"), std::string::npos);
    EXPECT_NE(result.out.find("rename to"), std::string::npos);
    EXPECT_NE(result.out.find("dry run, nothing written"), std::string::npos);
}

TEST_F(TzrhdrSet, SecondRunWithTheSameValuesLeavesTheFileAlone) {
    const std::wstring path = RawFile(L"ABCD123A.TZR", "ABCD");
    RunTool(Args({L"--station-code", L"P02", path}));
    const RunResult again = RunTool(Args({L"--station-code", L"P02", path}));
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.out.find("0 changed, 0 renamed, 1 unchanged"), std::string::npos) << again.out;
}

TEST_F(TzrhdrSet, ExistingFileIsReplacedOnlyWithReplace) {
    const std::wstring path = RawFile(L"ABCD123A.TZR", "ABCD");
    const std::wstring other = directory.WriteFile(L"EFGH123A.TZR", "other station");
    RunResult result = RunTool(Args({L"--station", L"EFGH", path}));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("--replace"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(other), "other station");
    EXPECT_TRUE(EndsWith(ReadWholeFile(path), data));

    result = RunTool(Args({L"--replace", L"--station", L"EFGH", path}));
    EXPECT_EQ(result.status, 0);
    EXPECT_FALSE(Exists(path));
    EXPECT_TRUE(EndsWith(ReadWholeFile(other), data));
}

TEST_F(TzrhdrSet, OneBadFileDoesNotStopTheOthers) {
    const std::wstring bad = directory.WriteFile(L"BAD1234A.TZR", "not a raw file");
    const std::wstring good = RawFile(L"GOOD123A.TZR", "GOOD");
    const RunResult result = RunTool(Args({L"--station-code", L"X", bad, good}));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("BAD1234A.TZR"), std::string::npos);
    EXPECT_NE(ReadWholeFile(good).find("MARKER NUMBER:X\r\n"), std::string::npos);
    EXPECT_NE(result.out.find("2 files: 1 changed, 0 renamed, 0 unchanged, 1 failed"),
              std::string::npos);
}

struct BadValueCase {
    const char* name;
    std::vector<std::wstring> options;
    std::string message;
};

class TzrhdrSetBadValues : public TzrhdrSet, public testing::WithParamInterface<BadValueCase> {};

TEST_P(TzrhdrSetBadValues, AreUsageErrorsAndWriteNothing) {
    const std::wstring path = RawFile(L"ABCD123A.TZR", "ABCD");
    const std::string before = ReadWholeFile(path);
    std::vector<std::wstring> args = {L"set"};
    args.insert(args.end(), GetParam().options.begin(), GetParam().options.end());
    args.push_back(path);
    const RunResult result = RunTool(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
    EXPECT_TRUE(ReadWholeFile(path) == before);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TzrhdrSetBadValues,
    testing::Values(
        BadValueCase{"UnknownAntenna",
                     {L"--antenna-type", L"DRQK8"},
                     "not in the antenna catalogue; closest: \"DRQK08\""},
        BadValueCase{"HeightNotANumber", {L"--antenna-height", L"1,5"}, "antenna-height"},
        BadValueCase{"CoordinateWithUnit", {L"--x", L"12m"}, "x needs a number"},
        // Not the file name after it.
        BadValueCase{"NothingAfterTheEquals", {L"--x="}, "x needs a number, not \"\""},
        BadValueCase{"MeasureToOutOfRange", {L"--measure-to", L"4"}, "measure-to is 0, 1, 2, 3"},
        BadValueCase{"NothingToSet", {}, "set needs a field option or --from"}),
    [](const testing::TestParamInfo<BadValueCase>& info) { return info.param.name; });

TEST_F(TzrhdrSet, CampaignTableCorrectsEveryFileAndReportsTheExceptions) {
    std::vector<std::wstring> files;
    std::string table = "file,station,antenna-height,measure-to\n";
    for (int i = 0; i < 50; ++i) {
        std::string station = "S";
        station += std::to_string(100 + i);
        files.push_back(
            RawFile(std::wstring(station.begin(), station.end()) + L"045A.TZR", station));
        table += station + "045A.TZR,N" + std::to_string(100 + i) + ",1." + std::to_string(i % 10) +
                 ",3\n";
    }
    table += "MISSING1A.TZR,M1,1.0,0\nNOTRAW1A.TZR,M2,1.0,0\n";
    files.push_back(RawFile(L"EXTRA045A.TZR", "EXTRA"));
    files.push_back(directory.WriteFile(L"NOTRAW1A.TZR", "not a raw file"));
    const std::wstring csv = directory.WriteFile(L"campaign.csv", table);
    std::vector<std::wstring> args = Args({L"--from", csv});
    args.insert(args.end(), files.begin(), files.end());

    const RunResult result = RunTool(args);
    EXPECT_EQ(result.status, 1) << result.err;
    for (int i = 0; i < 50; ++i) {
        const std::wstring renamed =
            directory.PathOf(L"N" + std::to_wstring(100 + i) + L"045A.TZR");
        const std::string written = ReadWholeFile(renamed);
        EXPECT_TRUE(EndsWith(written, data)) << i;
        EXPECT_NE(written.find("AntHigh:1." + std::to_string(i % 10) + "00\r\n"),
                  std::string::npos);
        EXPECT_NE(written.find("MeasureTo:3\r\n"), std::string::npos);
        EXPECT_FALSE(Exists(files[static_cast<size_t>(i)]));
    }
    EXPECT_NE(result.err.find("row 52 (MISSING1A.TZR) matches no file that was read"),
              std::string::npos);
    EXPECT_NE(result.err.find("EXTRA045A.TZR: no row in the campaign table"), std::string::npos);
    EXPECT_EQ(result.err.find("(NOTRAW1A.TZR) matches no file"), std::string::npos);
    EXPECT_NE(result.out.find("52 files: 0 changed, 50 renamed, 1 unchanged, 1 failed"),
              std::string::npos);
}

TEST_F(TzrhdrSet, CampaignRowsCanBeKeyedByTheCurrentStation) {
    const std::wstring path = RawFile(L"0123A.TZR", "ABCD");
    const std::wstring csv =
        directory.WriteFile(L"c.csv", "current_station,station_code\nABCD,P99\n");
    const RunResult result = RunTool(Args({L"--from", csv, path}));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(ReadWholeFile(directory.PathOf(L"ABCD123A.TZR")).find("MARKER NUMBER:P99\r\n"),
              std::string::npos);
}

TEST_F(TzrhdrSet, CampaignTableWithAnUnknownColumnIsRefused) {
    const std::wstring path = RawFile(L"ABCD123A.TZR", "ABCD");
    const std::wstring csv = directory.WriteFile(L"c.csv", "file,colour\nABCD123A.TZR,red\n");
    const RunResult result = RunTool(Args({L"--from", csv, path}));
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("unknown column \"colour\""), std::string::npos);
}

TEST_F(TzrhdrSet, JsonReportsEachFileOnOneLineAndTheSummaryOnStandardError) {
    const std::wstring path = RawFile(L"ABCD123A.TZR", "ABCD");
    const std::wstring missing = directory.PathOf(L"MISSING1A.TZR");
    const RunResult result = RunTool(Args({L"--json", L"--dry-run", L"--station", L"EFGH",
                                           L"--antenna-height", L"1.5", path, missing}));
    EXPECT_EQ(result.status, 1);
    const std::string renamed =
        "{\"file\": " + JsonString(path) +
        ", \"status\": \"renamed\", \"newFile\": " + JsonString(directory.PathOf(L"EFGH123A.TZR")) +
        ", \"changes\": [{\"field\": \"station\", \"old\": \"ABCD\", \"new\": \"EFGH\"}, "
        "{\"field\": \"antenna-height\", \"old\": \"1.523\", \"new\": \"1.500\"}], "
        "\"error\": null, \"warnings\": [], \"dryRun\": true}\n";
    const std::string failed = "{\"file\": " + JsonString(missing) +
                               ", \"status\": \"failed\", \"newFile\": null, \"changes\": [], "
                               "\"error\": \"";
    EXPECT_EQ(result.out.substr(0, renamed.size()), renamed);
    EXPECT_EQ(result.out.substr(renamed.size(), failed.size()), failed);
    EXPECT_TRUE(EndsWith(result.out, "\", \"warnings\": [], \"dryRun\": true}\n")) << result.out;
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 2);
    EXPECT_TRUE(EndsWith(result.err,
                         "2 files (dry run, nothing written): 0 changed, 1 renamed, "
                         "0 unchanged, 1 failed\n"));
}

struct HeldNumberCase {
    const char* name;
    std::string line;
    std::string heldLine;
    std::string error;
};

class TzrhdrSetHeldNumbers : public TzrhdrSet,
                             public testing::WithParamInterface<HeldNumberCase> {};

// A number that the header could not hold as it reads stops a save of another field.
TEST_P(TzrhdrSetHeldNumbers, ThatWouldNotReadBackAreRefused) {
    std::string raw = RawHeader("ABCD", "1.523") + data;
    raw.replace(raw.find(GetParam().line), GetParam().line.size(), GetParam().heldLine);
    const std::wstring path = directory.WriteFile(L"ABCD123A.TZR", raw);
    const RunResult result = RunTool(Args({L"--station-code", L"P02", path}));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(GetParam().error), std::string::npos) << result.err;
    EXPECT_TRUE(ReadWholeFile(path) == raw);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TzrhdrSetHeldNumbers,
    testing::Values(HeldNumberCase{"NanHeight", "AntHigh:1.523", "AntHigh:nan",
                                   "antenna-height \"nan\" is no number"},
                    HeldNumberCase{"CoordinateLongerThanALine", "X:-2148744.1234", "X:1e300",
                                   "x \"1e+300\" is no number"},
                    HeldNumberCase{"InfiniteInterval", "INTERVAL:15.0", "INTERVAL:inf",
                                   "interval \"inf\" is no number"}),
    [](const testing::TestParamInfo<HeldNumberCase>& info) { return info.param.name; });

// The statuses that set --json gives, one per line.
std::vector<std::string> StatusesOf(const std::string& json) {
    std::vector<std::string> statuses;
    const std::string key = "\"status\": \"";
    for (size_t at = 0; (at = json.find(key, at)) != std::string::npos; at += key.size()) {
        const size_t start = at + key.size();
        statuses.push_back(json.substr(start, json.find('"', start) - start));
    }
    return statuses;
}

struct BatchCase {
    const char* name;
    std::vector<std::string> stations;
    std::vector<std::wstring> options;
    std::string table;
    std::vector<std::string> statuses;
    std::string refusal;
    // The last file is named through its folder's "." entry.
    bool respellLast = false;
};

class TzrhdrSetBatch : public TzrhdrSet, public testing::WithParamInterface<BatchCase> {};

TEST_P(TzrhdrSetBatch, NameClashesAreRefusedBeforeAnythingIsWritten) {
    const BatchCase& c = GetParam();
    std::vector<std::wstring> args = Args({L"--json"});
    args.insert(args.end(), c.options.begin(), c.options.end());
    if (!c.table.empty())
        args.insert(args.end(), {L"--from", directory.WriteFile(L"c.csv", c.table)});
    std::vector<std::wstring> files;
    for (const std::string& station : c.stations) {
        files.push_back(
            RawFile(std::wstring(station.begin(), station.end()) + L"123A.TZR", station));
        args.push_back(files.back());
    }
    const std::string original = ReadWholeFile(files.front());
    if (c.respellLast) {
        const size_t name = files.back().find_last_of(kDirectorySeparator);
        files.back().insert(name, std::wstring{kDirectorySeparator, L'.'});
        args.back() = files.back();
    }

    const RunResult result = RunTool(args);
    EXPECT_EQ(StatusesOf(result.out), c.statuses) << result.out;
    for (size_t i = 0; i < files.size(); ++i) {
        if (c.statuses[i] != "failed")
            continue;
        EXPECT_TRUE(ReadWholeFile(files[i]) == RawHeader(c.stations[i], "1.523") + data);
        const size_t line = result.err.find(ToUtf8(files[i]) + ": ");
        ASSERT_NE(line, std::string::npos) << result.err;
        EXPECT_NE(result.err.substr(line, result.err.find('\n', line) - line).find(c.refusal),
                  std::string::npos)
            << result.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Batches, TzrhdrSetBatch,
    testing::Values(BatchCase{"TwoFilesOneNewName",
                              {"ABCD", "EFGH"},
                              {L"--station", L"P001"},
                              "",
                              {"failed", "failed"},
                              "is also the new name of "},
                    BatchCase{"GivenTwice",
                              {"ABCD", "ABCD"},
                              {L"--station", L"P001"},
                              "",
                              {"failed", "failed"},
                              "given more than once in this batch"},
                    BatchCase{"GivenUnderTwoSpellings",
                              {"ABCD", "ABCD"},
                              {L"--station", L"P001"},
                              "",
                              {"failed", "failed"},
                              "given more than once in this batch",
                              true},
                    BatchCase{"NewNameOfAnotherFileOfTheBatch",
                              {"ABCD", "EFGH"},
                              {},
                              "file,station\nABCD123A.TZR,EFGH\n",
                              {"failed", "unchanged"},
                              "is the name of another file of this batch"},
                    BatchCase{"ReplaceStaysOutsideTheBatch",
                              {"ABCD", "EFGH"},
                              {L"--replace"},
                              "file,station\nABCD123A.TZR,EFGH\n",
                              {"failed", "unchanged"},
                              "is the name of another file of this batch"},
                    BatchCase{"Swap",
                              {"ABCD", "EFGH"},
                              {},
                              "file,station\nABCD123A.TZR,EFGH\nEFGH123A.TZR,ABCD\n",
                              {"failed", "failed"},
                              "is the name of another file of this batch"},
                    BatchCase{
                        "OthersGoOn",
                        {"ABCD", "EFGH", "IJKL"},
                        {},
                        "file,station\nABCD123A.TZR,P001\nEFGH123A.TZR,p001\nIJKL123A.TZR,P002\n",
                        {"failed", "failed", "renamed"},
                        "is also the new name of "}),
    [](const testing::TestParamInfo<BatchCase>& info) { return info.param.name; });

// 测站三 in the header's code page and in UTF-8.
const std::string kGbkStation = "\xB2\xE2\xD5\xBE\xC8\xFD";
const std::string kUtf8Station = "\xE6\xB5\x8B\xE7\xAB\x99\xE4\xB8\x89";

struct EncodingCase {
    const char* name;
    std::string station;
    std::string start;
    std::vector<std::wstring> options;
    // Standard error contains it when the table is refused.
    std::string refusal;
};

class TzrhdrSetEncodings : public TzrhdrSet, public testing::WithParamInterface<EncodingCase> {};

TEST_P(TzrhdrSetEncodings, TableIsReadInItsEncodingOrRefused) {
    const EncodingCase& c = GetParam();
    const std::wstring path = RawFile(L"ABCD123A.TZR", "ABCD");
    const std::string before = ReadWholeFile(path);
    const std::wstring csv = directory.WriteFile(
        L"c.csv", c.start + "file,station\r\nABCD123A.TZR," + c.station + "\r\n");
    std::vector<std::wstring> args = Args({L"--from", csv, path});
    args.insert(args.end() - 1, c.options.begin(), c.options.end());
    const RunResult result = RunTool(args);
    if (!c.refusal.empty()) {
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(c.refusal), std::string::npos) << result.err;
        EXPECT_TRUE(ReadWholeFile(path) == before);
        return;
    }
    EXPECT_EQ(result.status, 0) << result.err;
    const std::string written = ReadWholeFile(directory.PathOf(L"\u6D4B\u7AD9\u4E09123A.TZR"));
    EXPECT_NE(written.find("\r\nMARKER NAME:" + kGbkStation + "\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, TzrhdrSetEncodings,
    testing::Values(
        EncodingCase{"Gbk", kGbkStation, "", {}, ""},
        EncodingCase{"Utf8", kUtf8Station, "", {}, ""},
        EncodingCase{"Utf8WithByteOrderMark", kUtf8Station, "\xEF\xBB\xBF", {}, ""},
        EncodingCase{"GbkNamedAnsi", kGbkStation, "", {L"--encoding", L"ansi"}, ""},
        EncodingCase{"GbkNamedByNumber", kGbkStation, "", {L"--encoding=936"}, ""},
        EncodingCase{"Utf8NamedUtf8", kUtf8Station, "", {L"--encoding", L"UTF-8"}, ""},
        EncodingCase{
            "GbkNamedUtf8", kGbkStation, "", {L"--encoding", L"utf-8"}, "not text in UTF-8"},
        EncodingCase{
            "NeitherUtf8NorGbk", "\x81\x20\xFF", "", {}, "neither UTF-8 nor text in code page 936"},
        EncodingCase{"Utf8RowUnderGbkRows",
                     kGbkStation + "\r\nEFGH123A.TZR," + kUtf8Station,
                     "",
                     {},
                     "line 3 is not in the encoding of line 2 (code page 936)"},
        EncodingCase{"FewerCellsThanHeadings",
                     "P001\r\nEFGH123A.TZR",
                     "",
                     {},
                     "line 3 has 1 cell where the headings have 2"},
        EncodingCase{"FewerCellsThanHeadingsInChinese",
                     "P001\r\nEFGH123A.TZR",
                     "",
                     {L"--lang", L"zh"},
                     "第 3 行有 1 个单元格，而标题行有 2 个"},
        EncodingCase{"Nul",
                     std::string("P0\0"
                                 "01",
                                 5),
                     "",
                     {},
                     "line 2 holds a NUL character"},
        EncodingCase{"CellLongerThanAnyField",
                     std::string(5000, '1'),
                     "",
                     {},
                     "line 2: a cell is longer than 1024 bytes"}),
    [](const testing::TestParamInfo<EncodingCase>& info) { return info.param.name; });

// Another program copies the file and puts the copy under its name between each two steps of
// its save, as editors and sync tools save: the report says what the disk then holds, and never
// that a file whose header was written has nothing written.
TEST_F(TzrhdrSet, ReportOfAWriteAnotherProgramCameBetweenSaysWhatIsOnDisk) {
    // Windows cannot replace a file that the save holds open.
    if (!SystemFileSystem().CanReplaceOpenFile())
        GTEST_SKIP() << "a copy cannot be put under the name of an open file";
    bool writtenNotRenamed = false;
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        TemporaryDirectory folder;
        const std::wstring path =
            folder.WriteFile(L"ABCD123A.TZR", RawHeader("ABCD", "1.523") + data);
        FaultyFileSystem files(step, [&] {
            const std::filesystem::path copy = FileSystemPath(folder.PathOf(L"COPY"));
            std::error_code error;
            if (std::filesystem::copy_file(FileSystemPath(path), copy, error))
                std::filesystem::rename(copy, FileSystemPath(path), error);
        });
        std::ostringstream out, err;
        ToolEnvironment environment;
        environment.files = &files;
        RunTzrhdr(Args({L"--station", L"WXYZ", path}), out, err, environment);
        if (!files.Injected())
            break;
        const std::string report = err.str();
        const std::string notRenamed = ToUtf8(path) +
                                       ": header written, not renamed: another program changed "
                                       "it after it was read\n";
        writtenNotRenamed = writtenNotRenamed || report.find(notRenamed) != std::string::npos;
        if (report.find("not renamed") != std::string::npos) {
            EXPECT_NE(report.find(notRenamed), std::string::npos) << report;
            EXPECT_TRUE(ReadWholeFile(path).starts_with(RawHeader("WXYZ", "1.523")));
        }
    }
    EXPECT_TRUE(writtenNotRenamed);
}

TEST_F(TzrhdrSet, TableMatchingNoFileIsAFailure) {
    const std::wstring path = RawFile(L"ABCD123A.TZR", "ABCD");
    const std::wstring csv = directory.WriteFile(L"c.csv",
                                                 "file,station\n\xEF\xBB\xBF"
                                                 "EFGH123A.TZR ,P001\n");
    const RunResult result = RunTool(Args({L"--from", csv, path}));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("c.csv: row 2 (EFGH123A.TZR) matches no file that was read\n"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("c.csv: no row matches any of the files\n"), std::string::npos);
}

TEST_F(TzrhdrSet, WhatASpreadsheetDidToNumberLikeTextLeavesTheFilesAlone) {
    std::vector<std::wstring> files;
    std::vector<std::string> before;
    for (const std::string station : {"ABCD", "EFGH"}) {
        std::string header = RawHeader(station, "1.523");
        for (const auto& [from, to] :
             {std::pair<std::string, std::string>{"REC #:RN-7", "REC #:0400001"},
              {"MARKER NUMBER:P01", "MARKER NUMBER:400001"},
              {"REC VERS:3.2.1", "REC VERS:3.10"}})
            header.replace(header.find(from), from.size(), to);
        files.push_back(directory.WriteFile(
            std::wstring(station.begin(), station.end()) + L"123A.TZR", header + data));
        before.push_back(ReadWholeFile(files.back()));
    }
    const std::wstring csv = directory.WriteFile(
        L"c.csv",
        "file,receiver-number,station-code,receiver-version\r\n"
        "ABCD123A.TZR,400001,4.00001E+05,3.1\r\nEFGH123A.TZR,400001,400001,3.10\r\n");
    const RunResult result = RunTool(Args({L"--from", csv, files[0], files[1]}));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(ReadWholeFile(files[0]) == before[0]);
    EXPECT_TRUE(ReadWholeFile(files[1]) == before[1]);
    for (const char* line :
         {"c.csv: receiver-number: 2 cells differ", "c.csv: station-code: 1 cell differs",
          "c.csv: receiver-version: 1 cell differs"})
        EXPECT_NE(result.err.find(line), std::string::npos) << result.err;
}

struct RoundTripCase {
    const char* name;
    std::string column;
    std::string cell;
    // The header line that the edit replaces, and by what; none when nothing changes.
    std::string oldLine;
    std::string newLine;
    std::wstring newName;
    // The antenna the file names.
    std::string antenna = "DRQK08";
};

class TzrhdrRoundTrip : public TzrhdrSet, public testing::WithParamInterface<RoundTripCase> {};

TEST_P(TzrhdrRoundTrip, ExportEditAndFeedBackMakesExactlyThatEdit) {
    const RoundTripCase& c = GetParam();
    const std::wstring edited = RawFile(L"ABCD123A.TZR", "ABCD", "1.523", c.antenna);
    const std::wstring other = RawFile(L"EFGH123A.TZR", "EFGH");
    std::string expected = ReadWholeFile(edited);
    const std::string otherBefore = ReadWholeFile(other);
    if (!c.oldLine.empty())
        expected.replace(expected.find(c.oldLine), c.oldLine.size(), c.newLine);

    const RunResult shown = RunTool({L"show", L"--csv", L"--codepage", L"936", edited, other});
    ASSERT_EQ(shown.status, 0) << shown.err;
    ASSERT_EQ(shown.out.substr(0, 3), "\xEF\xBB\xBF");
    std::string error;
    std::vector<CsvRow> table = ParseCsv(shown.out, error).value();
    const auto column = std::find(table[0].begin(), table[0].end(), c.column) - table[0].begin();
    table[1][static_cast<size_t>(column)] = c.cell;
    std::string text = "\xEF\xBB\xBF";
    for (const CsvRow& row : table)
        text += CsvLine(row);
    const RunResult set =
        RunTool(Args({L"--from", directory.WriteFile(L"edited.csv", text), edited, other}));

    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_TRUE(ReadWholeFile(directory.PathOf(c.newName)) == expected);
    EXPECT_TRUE(ReadWholeFile(other) == otherBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, TzrhdrRoundTrip,
    testing::Values(RoundTripCase{"ChineseStation", "station",
                                  "\xE6\xB5\x8B\xE7\xAB\x99\xE4\xBA\x8C", "MARKER NAME:ABCD",
                                  "MARKER NAME:\xB2\xE2\xD5\xBE\xB6\xFE",
                                  L"\u6D4B\u7AD9\u4E8C123A.TZR"},
                    RoundTripCase{"AntennaHeight", "antenna-height", "1.5", "AntHigh:1.523",
                                  "AntHigh:1.500", L"ABCD123A.TZR"},
                    RoundTripCase{"MeasureToLabel", "measure-to",
                                  "\xE5\xA4\xA9\xE7\xBA\xBF\xE6\x96\x9C\xE9\xAB\x98", "MeasureTo:2",
                                  "MeasureTo:3", L"ABCD123A.TZR"},
                    RoundTripCase{"Coordinate", "x", "-2148744.5", "X:-2148744.1234",
                                  "X:-2148744.5000", L"ABCD123A.TZR"},
                    RoundTripCase{"SameNumberWrittenOtherwise", "antenna-height", "1.5230", "", "",
                                  L"ABCD123A.TZR"},
                    RoundTripCase{"ReadOnlyColumn", "interval", "30", "", "", L"ABCD123A.TZR"},
                    RoundTripCase{"AntennaTheCatalogueLacksIsKept", "antenna-height", "1.5",
                                  "AntHigh:1.523", "AntHigh:1.500", L"ABCD123A.TZR",
                                  "TRM59800.00"}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

}  // namespace
