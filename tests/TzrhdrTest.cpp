#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "TestFiles.h"
#include "TzrhdrRun.h"
#include "cli/Json.h"

namespace {

class Tzrhdr : public testing::Test {
  protected:
    Tzrhdr() {
        catalogue = directory.WriteFile(
            L"ant.ini",
            "[ANTENNA]\r\nUnknown\r\n0\r\n0\r\n0\r\n[ANTENNA]\r\nDRQK08\r\n1\r\n2\r\n3\r\n");
    }

    TemporaryDirectory directory;
    std::wstring catalogue;
};

TEST_F(Tzrhdr, ShowJsonPrintsEveryFieldOnOneLine) {
    const std::string headerText =
        CrLfLines({"VELMORAN COLLECTED DATA FILE", "ver 2.1", "ReceiverID:SN1", "Date:2024-03-05",
                   "Model:M", "AntHigh:1.5", "AntType:DRQK08", "MeasureTo:2", "X:1.25",
                   "MARKER NAME:\xB2\xE2\xD5\xBE", "INTERVAL:0.05", "LEAP SECONDS:18"});
    const std::wstring file =
        directory.WriteFile(L"ABCD123A.TZR", headerText + ObservationData(100));
    const RunResult result =
        RunTool({L"show", L"--json", L"--codepage", L"936", L"--catalogue", catalogue, file});

    EXPECT_EQ(result.status, 0);
    const std::string directoryJson = JsonString(file.substr(0, file.size() - 12));
    const std::string expected =
        "{\"file\": " + JsonString(file) +
        ", \"headerLoaded\": true, \"headerRegionLength\": " + std::to_string(headerText.size()) +
        ", \"version\": 2.1, "
        "\"receiverIdText\": \"SN1\", \"dateText\": \"2024-03-05\", \"antennaHeight\": 1.5, "
        "\"heightOffset\": 0, \"antennaHeightText\": \"1.500\", "
        "\"stationName\": \"\xE6\xB5\x8B\xE7\xAB\x99\", \"stationCode\": \"\", "
        "\"antennaNumber\": \"\", \"antennaTypeName\": \"DRQK08\", \"receiverNumber\": \"SN1\", "
        "\"receiverType\": \"M\", \"receiverVersion\": \"\", \"approxX\": 1.25, \"approxY\": 0, "
        "\"approxZ\": 0, \"interval\": 0.05, \"leapSeconds\": 18, \"timeOfFirstObs\": \"\", "
        "\"antennaTypeIndex\": 1, \"measureTo\": 2, \"directory\": " +
        directoryJson + ", \"suffix\": \"123A.TZR\", \"messages\": []}\n";
    EXPECT_EQ(result.out, expected);
}

TEST_F(Tzrhdr, FloatFieldsPrintInTheirOwnShortestForm) {
    const std::wstring file = directory.WriteFile(
        L"A.TZR", CrLfLines({"ver 1", "ReceiverID:A", "Date:1", "AntHigh:1.2345", "X:1e309"}));
    const RunResult result = RunTool({L"show", L"--json", L"--catalogue", catalogue, file});
    EXPECT_NE(result.out.find("\"antennaHeight\": 1.2345,"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\"approxX\": null,"), std::string::npos) << result.out;
}

TEST_F(Tzrhdr, ReadThatStopsGivesStatusOneAndItsMessage) {
    const std::wstring good = directory.WriteFile(L"A.TZR", CrLfLines({"ver 1", "ReceiverID:A"}));
    const std::wstring bad = directory.WriteFile(L"B.TZR", CrLfLines({"ReceiverID:A"}));
    const RunResult result = RunTool({L"show", L"--json", L"--catalogue", catalogue, good, bad});
    EXPECT_EQ(result.status, 1);
    const size_t secondLine = result.out.find('\n') + 1;
    const std::string first = result.out.substr(0, secondLine);
    const std::string second = result.out.substr(secondLine);
    EXPECT_NE(first.find("\"headerLoaded\": true"), std::string::npos);
    EXPECT_NE(
        first.find("\"messages\": [" + JsonString(std::wstring(L"文件头未发现日期信息！")) + "]"),
        std::string::npos);
    EXPECT_NE(second.find("\"headerLoaded\": false"), std::string::npos);
    EXPECT_NE(second.find(ToUtf8(L"未发现版本号(ver)")), std::string::npos);
}

TEST_F(Tzrhdr, TextOutputSendsMessagesToStandardError) {
    const std::wstring file = directory.WriteFile(L"A.TZR", CrLfLines({"ver 1", "ReceiverID:A"}));
    const RunResult result = RunTool({L"show", L"--catalogue", catalogue, file});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("stationName"), std::string::npos);
    EXPECT_NE(result.err.find(ToUtf8(L"文件头未发现日期信息！")), std::string::npos);
}

TEST_F(Tzrhdr, CatalogueJsonListsEntries) {
    const RunResult result = RunTool({L"catalogue", L"--json", L"--catalogue", catalogue});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "{\"path\": " + JsonString(catalogue) +
                              ", \"count\": 2, \"entries\": [{\"name\": \"Unknown\", \"values\": "
                              "[\"0\", \"0\", \"0\"]}, {\"name\": \"DRQK08\", \"values\": [\"1\", "
                              "\"2\", \"3\"]}]}\n");
}

TEST_F(Tzrhdr, BuiltInListWhenNoCatalogueBesideTheProgram) {
    const RunResult result = RunTool({L"catalogue", L"--json"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.rfind("{\"path\": null, \"count\": 45, ", 0), 0u) << result.out;
}

struct UsageCase {
    const char* name;
    std::vector<std::wstring> args;
};

class TzrhdrUsage : public testing::TestWithParam<UsageCase> {};

TEST_P(TzrhdrUsage, BadArgumentsGiveStatusTwoAndUsage) {
    const RunResult result = RunTool(GetParam().args);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("usage: tzrhdr"), std::string::npos);
    EXPECT_TRUE(result.out.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, TzrhdrUsage,
    testing::Values(UsageCase{"NoCommand", {}}, UsageCase{"UnknownCommand", {L"edit", L"A.TZR"}},
                    UsageCase{"ShowWithoutFiles", {L"show", L"--json"}},
                    UsageCase{"UnknownOption", {L"show", L"--xml", L"A.TZR"}},
                    UsageCase{"CodePageWithoutValue", {L"show", L"A.TZR", L"--codepage"}},
                    UsageCase{"CodePageNotANumber", {L"show", L"--codepage", L"gbk", L"A.TZR"}},
                    UsageCase{"CodePageUnknown", {L"show", L"--codepage", L"4242", L"A.TZR"}},
                    UsageCase{"CatalogueMissing",
                              {L"catalogue", L"--catalogue", L"/no/such/file.ini"}},
                    UsageCase{"CatalogueWithFile", {L"catalogue", L"A.TZR"}}),
    [](const testing::TestParamInfo<UsageCase>& info) { return info.param.name; });

TEST(TzrhdrHelp, PrintsUsage) {
    const RunResult result = RunTool({L"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("usage: tzrhdr"), std::string::npos);
}

}  // namespace
