#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "TzrhdrRun.h"

namespace {

std::string RawHeader(const std::string& station, const std::string& height) {
    return CrLfLines({"VELMORAN COLLECTED DATA FILE",
                      "ver 2.1",
                      "ReceiverID:SN1",
                      "Date:2026-03-05",
                      "Model:DRQ-X5",
                      "AntHigh:" + height,
                      "HEIGHT OFFSET:0.000",
                      "AntType:DRQK08",
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
                      "ANT TYPE:DRQK08",
                      "INTERVAL:15.0",
                      "TIME OF FIRST OBS:2026 3 5 1 2 3.0",
                      "LEAP SECONDS:18"});
}

class TzrhdrSet : public testing::Test {
  protected:
    std::wstring RawFile(const std::wstring& name, const std::string& station,
                         const std::string& height = "1.523") {
        return directory.WriteFile(name, RawHeader(station, height) + data);
    }

    std::vector<std::wstring> Args(std::initializer_list<std::wstring> args) {
        std::vector<std::wstring> all = {L"set", L"--codepage", L"936"};
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
    table += "MISSING1A.TZR,M1,1.0,0\n";
    files.push_back(RawFile(L"EXTRA045A.TZR", "EXTRA"));
    const std::wstring csv = directory.WriteFile(L"campaign.csv", table);
    std::vector<std::wstring> args = Args({L"--from", csv});
    args.insert(args.end(), files.begin(), files.end());

    const RunResult result = RunTool(args);
    EXPECT_EQ(result.status, 0) << result.err;
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
    EXPECT_NE(result.err.find("row 52 (MISSING1A.TZR): no such file"), std::string::npos);
    EXPECT_NE(result.err.find("EXTRA045A.TZR: no row in the campaign table"), std::string::npos);
    EXPECT_NE(result.out.find("51 files: 0 changed, 50 renamed, 1 unchanged, 0 failed"),
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
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("unknown column \"colour\""), std::string::npos);
}

TEST_F(TzrhdrSet, ShowCsvListsTheMainFields) {
    const std::wstring path = RawFile(L"ABCD123A.TZR", "A,B");
    const RunResult result = RunTool({L"show", L"--csv", path});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.substr(0, result.out.find('\n')),
              "file,headerLoaded,stationName,stationCode,antennaHeight,antennaTypeName,"
              "antennaNumber,measureTo,receiverNumber,receiverType,receiverVersion,approxX,"
              "approxY,approxZ,interval,leapSeconds,timeOfFirstObs,dateText,receiverIdText");
    EXPECT_NE(result.out.find(",true,\"A,B\",P01,1.523,DRQK08,A-99,2,RN-7,DRQ-X5,3.2.1,"
                              "-2148744.1234,4426641.5678,4044656.9012,15,18,"),
              std::string::npos)
        << result.out;
}

}  // namespace
