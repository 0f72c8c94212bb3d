#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "TzrhdrRun.h"
#include "campaign/CampaignLoad.h"
#include "campaign/CampaignSheet.h"
#include "campaign/FileReadFailure.h"
#include "platform/CodePage.h"
#include "platform/Utf8.h"

namespace {

std::string CleanHeader() {
    return CrLfLines({"VELMORAN COLLECTED DATA FILE", "ver 2.1", "ReceiverID:SN1",
                      "Date:2026-03-05", "Model:DRQ-X5", "AntHigh:1.523", "HEIGHT OFFSET:0.000",
                      "AntType:DRQK08", "MeasureTo:2", "X:-2148744.1234", "Y:4426641.5678",
                      "Z:4044656.9012", "MARKER NAME:ABCD", "MARKER NUMBER:P01", "REC #:RN-7",
                      "REC TYPE:DRQ-X5", "ANT TYPE:DRQK08", "INTERVAL:15.0"});
}

struct CampaignFile {
    std::wstring name;
    // Header lines replaced by others; the whole file replaced when the first is empty.
    std::vector<std::pair<std::string, std::string>> edits;
    std::vector<std::string> codes;
};

// One station's session files, each wrong in one way but the first, and a field log that has a
// row for every file but one, a row for a file that is not there and one other station code.
const std::vector<CampaignFile> kCampaign = {
    {L"ABCD045A.TZR", {}, {}},
    {L"ABCD045B.TZR", {{"", "not a raw file"}}, {"unreadable"}},
    {L"ABCD045C.TZR", {{"MARKER NAME:ABCD", "MARKER NAME:EFGH"}}, {"name-mismatch"}},
    {L"ABCD045D.TZR",
     {{"AntType:DRQK08", "AntType:NOSUCH"}, {"ANT TYPE:DRQK08", "ANT TYPE:NOSUCH"}},
     {"unknown-antenna"}},
    {L"ABCD045E.TZR", {{"AntHigh:1.523", "AntHigh:0"}}, {"height-missing"}},
    {L"ABCD045F.TZR", {{"AntHigh:1.523", "AntHigh:7.5"}}, {"height-range"}},
    {L"ABCD045G.TZR", {{"MeasureTo:2", "MeasureTo:0"}}, {"measure-to-unknown"}},
    {L"ABCD045H.TZR",
     {{"X:-2148744.1234", "X:0"}, {"Y:4426641.5678", "Y:0"}, {"Z:4044656.9012", "Z:0"}},
     {"coordinates-missing"}},
    {L"ABCD045I.TZR", {{"X:-2148744.1234", "X:-2147744.1234"}}, {"station-spread"}},
    {L"ABCD045J.TZR",
     {{"Model:DRQ-X5", "Model:DRQ-X6"}, {"REC TYPE:DRQ-X5", "REC TYPE:DRQ-X6"}},
     {"receiver-mismatch"}},
    {L"ABCD045K.TZR", {}, {"log-mismatch"}},
    {L"ABCD045L.TZR", {}, {"log-missing"}},
    {L"ABCD045M.TZR", {{"MARKER NUMBER:P01", "MARKER NUMBER:0070"}}, {}},
};

constexpr char kFieldLog[] =
    "file,station-code,antenna-height\n"
    "ABCD045A.TZR,P01,1.5230\nABCD045B.TZR,P01,\nABCD045C.TZR,P01,\nABCD045D.TZR,P01,\n"
    "ABCD045E.TZR,P01,\nABCD045F.TZR,P01,\nABCD045G.TZR,P01,\nABCD045H.TZR,P01,\n"
    "ABCD045I.TZR,P01,\nABCD045J.TZR,P01,\nABCD045K.TZR,P02,1.523\nABCD045Z.TZR,P01,\n"
    "ABCD045M.TZR,70,\n";

TEST(TzrhdrCheck, ReportsEachFindingOnItsFileAndNothingOnACleanFile) {
    TemporaryDirectory directory;
    std::vector<std::wstring> args = {L"check",      L"--json",
                                      L"--codepage", L"936",
                                      L"--from",     directory.WriteFile(L"log.csv", kFieldLog)};
    for (const CampaignFile& file : kCampaign) {
        std::string bytes = CleanHeader() + ObservationData(300);
        for (const auto& [from, to] : file.edits)
            bytes = from.empty() ? to : bytes.replace(bytes.find(from), from.size(), to);
        args.push_back(directory.WriteFile(file.name, bytes));
    }

    const RunResult result = RunTool(args);
    EXPECT_EQ(result.status, 1) << result.err;
    std::map<std::wstring, std::vector<std::string>> codes;
    for (size_t at = 0, end; (end = result.out.find('\n', at)) != std::string::npos; at = end + 1) {
        const nlohmann::json finding =
            nlohmann::json::parse(result.out.substr(at, end - at), nullptr, false);
        ASSERT_TRUE(finding.is_object()) << result.out;
        codes[MultiByteToUnicodeString(finding.value("file", ""), kUtf8CodePage)].push_back(
            finding.value("code", ""));
    }
    for (size_t i = 0; i < kCampaign.size(); ++i)
        EXPECT_EQ(codes[args[i + 6]], kCampaign[i].codes) << result.out;
    EXPECT_EQ(codes[args[5]], std::vector<std::string>{"log-missing"});
    EXPECT_NE(result.err.find("13 files checked: 12 findings in 12 files"), std::string::npos)
        << result.err;

    const RunResult clean = RunTool({L"check", L"--codepage", L"936", args[6]});
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_EQ(clean.out, "");

    const std::wstring brokenLog =
        directory.WriteFile(L"broken.csv", "file,station-code\nABCD045A.TZR,\"P0\r\n2\"\n");
    const RunResult broken =
        RunTool({L"check", L"--codepage", L"936", L"--from", brokenLog, args[6]});
    EXPECT_NE(broken.out.find("\"P0\\r\\n2\""), std::string::npos) << broken.out;
}

// The campaign window shows on each row what check reports on its file, and follows an edit.
TEST(TzrhdrCheck, TheSheetFindsWhatCheckFinds) {
    TemporaryDirectory directory;
    AntennaCatalogue catalogue;
    catalogue.UseDefaultList();
    CampaignSheet sheet(catalogue, 936);
    for (const CampaignFile& file : kCampaign) {
        std::string bytes = CleanHeader() + ObservationData(300);
        for (const auto& [from, to] : file.edits)
            bytes = from.empty() ? to : bytes.replace(bytes.find(from), from.size(), to);
        HeaderReadOptions options;
        options.codePage = 936;
        sheet.Add(ReadCheckedFile(SystemFileSystem(), directory.WriteFile(file.name, bytes),
                                  catalogue, options));
    }
    LoadedTable log = LoadCampaignTable(kFieldLog, {std::nullopt, 936});
    ASSERT_TRUE(log.table);
    sheet.CompareLog(CampaignMatch(std::move(*log.table)));
    for (size_t row = 0; row < kCampaign.size(); ++row) {
        std::wstring codes;
        for (const std::string& code : kCampaign[row].codes)
            codes += (codes.empty() ? L"" : L", ") + MultiByteToUnicodeString(code, kUtf8CodePage);
        EXPECT_EQ(sheet.Text(row, FindingsColumn()), codes) << row;
    }
    EXPECT_EQ(sheet.UnmatchedLogLines(), std::vector<size_t>{13});
    EXPECT_EQ(sheet.LogText(10, 1), L"P02");

    const size_t heightField = 2;
    EXPECT_EQ(sheet.CellFindings(4, FieldColumn(heightField)).size(), 1u);
    ASSERT_FALSE(sheet.Apply({{4, heightField, L"1.523"}}));
    EXPECT_EQ(sheet.Text(4, FindingsColumn()), L"");
    ASSERT_FALSE(sheet.Apply(sheet.LogEdits(std::vector<size_t>{10}, std::vector<size_t>{1})));
    EXPECT_EQ(sheet.Text(10, FindingsColumn()), L"");
    ASSERT_TRUE(sheet.Undo());
    EXPECT_EQ(sheet.Text(10, FindingsColumn()), L"log-mismatch");
}

// A station's spread is the distance between its two farthest files, also when no file lies more
// than 100 m from the first one.
TEST(TzrhdrCheck, StationSpreadIsTheWidestDistanceBetweenTwoFiles) {
    struct SpreadCase {
        std::vector<std::string> x;
        std::vector<bool> reported;
    };
    const SpreadCase cases[] = {
        // 60 m either side of the first file: 120 m apart.
        {{"X:-2148744.1234", "X:-2148684.1234", "X:-2148804.1234"}, {false, true, true}},
        // 90 m apart at most.
        {{"X:-2148744.1234", "X:-2148684.1234", "X:-2148654.1234"}, {false, false, false}},
    };
    for (const SpreadCase& c : cases) {
        TemporaryDirectory directory;
        std::vector<std::wstring> args = {L"check"};
        for (size_t i = 0; i < c.x.size(); ++i) {
            std::string bytes = CleanHeader() + ObservationData(300);
            bytes.replace(bytes.find("X:-2148744.1234"), c.x[i].size(), c.x[i]);
            args.push_back(directory.WriteFile(
                L"ABCD045" + std::wstring(1, static_cast<wchar_t>(L'A' + i)) + L".TZR", bytes));
        }
        const RunResult result = RunTool(args);
        for (size_t i = 0; i < c.x.size(); ++i) {
            const std::string line = ToUtf8(args[i + 1]) + ": station-spread:";
            EXPECT_EQ(result.out.find(line) != std::string::npos, c.reported[i]) << result.out;
        }
    }
}

}  // namespace
