#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
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
    const std::string expected =
        "{\"file\": " + JsonString(file) +
        ", \"headerLoaded\": true, \"stationName\": \"\xE6\xB5\x8B\xE7\xAB\x99\", "
        "\"stationCode\": \"\", \"antennaHeight\": 1.500, \"antennaTypeName\": \"DRQK08\", "
        "\"antennaNumber\": \"\", \"measureTo\": 2, \"receiverNumber\": \"SN1\", "
        "\"receiverType\": \"M\", \"receiverVersion\": \"\", \"approxX\": 1.25, \"approxY\": 0, "
        "\"approxZ\": 0, \"interval\": 0.05, \"leapSeconds\": 18, \"timeOfFirstObs\": \"\", "
        "\"dateText\": \"2024-03-05\", \"receiverIdText\": \"SN1\", \"version\": 2.1, "
        "\"heightOffset\": 0, \"antennaTypeIndex\": 1, \"headerRegionLength\": " +
        std::to_string(headerText.size()) + ", \"messages\": [], \"messageCodes\": []}\n";
    EXPECT_EQ(result.out, expected);
}

TEST_F(Tzrhdr, FloatFieldsPrintInTheirOwnShortestForm) {
    const std::wstring file = directory.WriteFile(
        L"A.TZR",
        CrLfLines({"ver 1", "ReceiverID:A", "Date:1", "HEIGHT OFFSET:1.2345", "X:1e309"}));
    const RunResult result = RunTool({L"show", L"--json", L"--catalogue", catalogue, file});
    EXPECT_NE(result.out.find("\"heightOffset\": 1.2345,"), std::string::npos) << result.out;
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
    EXPECT_NE(first.find("\"messages\": [" + JsonString(std::wstring(L"文件头未发现日期信息！")) +
                         "], \"messageCodes\": [\"no-date\"]"),
              std::string::npos);
    EXPECT_NE(second.find("\"headerLoaded\": false"), std::string::npos);
    EXPECT_NE(second.find("\"messages\": [" +
                          JsonString(std::wstring(L"未发现版本号(ver)，请确认文件是否为TZR格式")) +
                          "], \"messageCodes\": [\"no-version\"]"),
              std::string::npos);
    EXPECT_EQ(result.err,
              "tzrhdr: " + ToUtf8(bad) + ": no version line (\"ver\"); is it a TZR raw file?\n");
}

TEST_F(Tzrhdr, TextOutputWarnsInEnglishOnStandardError) {
    const std::wstring file = directory.WriteFile(L"A.TZR", CrLfLines({"ver 1", "ReceiverID:A"}));
    const RunResult result = RunTool({L"show", L"--catalogue", catalogue, file});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("\n  receiver-id           A\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.err,
              "tzrhdr: " + ToUtf8(file) + ": the header has no date line (\"Date:\")\n");
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

// Arguments and expected texts may name "{raw}" (a raw file whose station is 测站一 in GBK),
// "{notraw}" and "{missing}".
struct ConventionCase {
    const char* name;
    std::vector<std::wstring> args;
    std::optional<std::wstring> codePageVariable;
    int status;
    // Standard output contains it; empty: standard output stays empty.
    std::string out;
    // Standard error starts with it and has this many lines.
    std::string err;
    size_t errLines;
    // The language the system speaks to the user.
    std::string language = {};
};

// 测量型天线 in GBK.
const std::string kGbkAntenna = "\xB2\xE2\xC1\xBF\xD0\xCD\xCC\xEC\xCF\xDF";

class TzrhdrConventions : public testing::TestWithParam<ConventionCase> {
  protected:
    std::string Expand(std::string text) const {
        for (const auto& [name, path] : placeholders) {
            const std::string utf8 = ToUtf8(path);
            for (size_t at; (at = text.find(ToUtf8(name))) != std::string::npos;)
                text.replace(at, name.size(), utf8);
        }
        return text;
    }

    TemporaryDirectory directory;
    const std::vector<std::pair<std::wstring, std::wstring>> placeholders = {
        {L"{raw}",
         directory.WriteFile(L"CESH045B.TZR", CrLfLines({"ver 2.1", "ReceiverID:SN", "Date:1",
                                                         "MARKER NAME:"
                                                         "\xB2\xE2\xD5\xBE\xD2\xBB"}))},
        {L"{notraw}", directory.WriteFile(L"NOTRAW1A.TZR", "plain text\r\n")},
        {L"{missing}", directory.PathOf(L"MISSING1A.TZR")},
        {L"{gbkantenna}",
         directory.WriteFile(L"GBKA045B.TZR", CrLfLines({"ver 2.1", "ReceiverID:SN", "Date:1",
                                                         "AntType:" + kGbkAntenna}))},
        {L"{gbkcatalogue}",
         directory.WriteFile(L"gbk.ini", "[ANTENNA]\r\nUnknown\r\n0\r\n0\r\n0\r\n[ANTENNA]\r\n" +
                                             kGbkAntenna + "\r\n1\r\n2\r\n3\r\n")},
        {L"{shortcatalogue}",
         directory.WriteFile(L"short.ini", "[ANTENNA]\r\nA\r\n1\r\n2\r\n3\r\n[ANTENNA]\r\nB\r\n")},
    };
};

TEST_P(TzrhdrConventions, StatusAndOutput) {
    const ConventionCase& c = GetParam();
    std::vector<std::wstring> args;
    for (const std::wstring& arg : c.args) {
        const auto placeholder = std::find_if(placeholders.begin(), placeholders.end(),
                                              [&](const auto& p) { return p.first == arg; });
        args.push_back(placeholder == placeholders.end() ? arg : placeholder->second);
    }
    const RunResult result = RunTool(args, c.codePageVariable, c.language);
    EXPECT_EQ(result.status, c.status) << result.err;
    if (c.out.empty())
        EXPECT_EQ(result.out, "");
    else
        EXPECT_NE(result.out.find(Expand(c.out)), std::string::npos) << result.out;
    EXPECT_EQ(result.err.substr(0, Expand(c.err).size()), Expand(c.err)) << result.err;
    EXPECT_EQ(static_cast<size_t>(std::count(result.err.begin(), result.err.end(), '\n')),
              c.errLines)
        << result.err;
}

const std::string kStation = "\xE6\xB5\x8B\xE7\xAB\x99\xE4\xB8\x80";

INSTANTIATE_TEST_SUITE_P(
    Arguments, TzrhdrConventions,
    testing::Values(
        ConventionCase{"Help", {L"--help"}, {}, 0, "Usage: tzrhdr", "", 0},
        ConventionCase{"ShowHelp", {L"show", L"--help"}, {}, 0, "--csv", "", 0},
        ConventionCase{"SetHelp", {L"set", L"-h"}, {}, 0, "--antenna-height", "", 0},
        ConventionCase{"Version", {L"--version"}, {}, 0, "tzrhdr 9.8.7.6\n", "", 0},
        ConventionCase{"OptionAndValue",
                       {L"show", L"--codepage", L"936", L"{raw}"},
                       {},
                       0,
                       "station               " + kStation,
                       "",
                       0},
        ConventionCase{"OptionEqualsValue",
                       {L"show", L"--codepage=936", L"{raw}"},
                       {},
                       0,
                       "station               " + kStation,
                       "",
                       0},
        ConventionCase{"CodePageVariable", {L"show", L"{raw}"}, L"936", 0, kStation, "", 0},
        ConventionCase{"WesternCodePageHints",
                       {L"show", L"--codepage", L"1252", L"{raw}"},
                       L"936",
                       0,
                       "\xC2\xB2\xC3\xA2",
                       "tzrhdr: header text was read in code page 1252; for Chinese headers give "
                       "--codepage 936",
                       1},
        ConventionCase{
            "CatalogueInTheHeaderCodePage",
            {L"show", L"--codepage", L"936", L"--catalogue", L"{gbkcatalogue}", L"{gbkantenna}"},
            {},
            0,
            "antenna-type-index    1\n",
            "",
            0},
        ConventionCase{"CatalogueListedInTheHeaderCodePage",
                       {L"catalogue", L"--codepage", L"936", L"--catalogue", L"{gbkcatalogue}"},
                       {},
                       0,
                       "\"测量型天线\"",
                       "",
                       0},
        ConventionCase{"CatalogueRecordNamedByItsLine",
                       {L"catalogue", L"--catalogue", L"{shortcatalogue}"},
                       {},
                       0,
                       "2 antennas",
                       "tzrhdr: {shortcatalogue}:6: a record with 1 of its 4 lines\n",
                       1},
        ConventionCase{"ChineseSystem",
                       {L"show", L"{notraw}"},
                       {},
                       1,
                       "",
                       "tzrhdr: {notraw}: 未发现版本号(ver)，请确认文件是否为TZR格式\n",
                       1,
                       "zh"},
        ConventionCase{"LangChoosesEnglish",
                       {L"show", L"--lang=en", L"{notraw}"},
                       {},
                       1,
                       "",
                       "tzrhdr: {notraw}: no version line",
                       1,
                       "zh"},
        ConventionCase{"LangChoosesChinese",
                       {L"--lang", L"zh", L"check", L"--codepage", L"936", L"{raw}"},
                       {},
                       1,
                       "{raw}: name-mismatch: 文件名中的测站为",
                       "已检查 1 个文件：4 项发现，涉及 1 个文件\n",
                       1},
        ConventionCase{"SetWarnsOfAValueCheckWouldFind",
                       {L"set", L"--no-journal", L"--codepage", L"936", L"--antenna-height",
                        L"99999", L"{raw}"},
                       {},
                       0,
                       "1 renamed",
                       "tzrhdr: {raw}: warning: height-range: the antenna height 99999.000 m is "
                       "not between 0 and 5 m\n",
                       1},
        ConventionCase{"SetJsonCarriesTheWarningsInTheUsersLanguage",
                       {L"set", L"--lang", L"zh", L"--json", L"--dry-run", L"--codepage", L"936",
                        L"--x", L"0", L"{raw}"},
                       {},
                       0,
                       "\"warnings\": [{\"code\": \"coordinates-missing\", \"field\": null, "
                       "\"message\": \"",
                       "tzrhdr: {raw}: 警告: coordinates-missing: ",
                       2},
        ConventionCase{"SetReportsInTheUsersLanguage",
                       {L"set", L"--lang", L"zh", L"--no-journal", L"--codepage", L"936",
                        L"--station-code", L"P02", L"{raw}"},
                       {},
                       0,
                       "1 个文件：0 个已修改，1 个已重命名，0 个未改变，0 个失败\n",
                       "",
                       0},
        ConventionCase{"UndoRefusesInTheUsersLanguage",
                       {L"undo", L"--lang", L"zh", L"--journal", L"{missing}"},
                       {},
                       1,
                       "",
                       "tzrhdr: {missing}: 没有可撤销的批次\n",
                       1},
        ConventionCase{"ChineseHelp",
                       {L"--lang", L"zh", L"--help"},
                       {},
                       0,
                       "显示每个原始文件的文件头记录",
                       "",
                       0},
        ConventionCase{"LanguageUnknown",
                       {L"--lang", L"fr", L"show", L"A.TZR"},
                       {},
                       2,
                       "",
                       "tzrhdr: --lang is zh or en, not \"fr\"\n",
                       2},
        ConventionCase{"MissingFile", {L"show", L"{missing}"}, {}, 1, "", "tzrhdr: {missing}: ", 1},
        ConventionCase{"NotARawFile",
                       {L"show", L"--csv", L"{notraw}"},
                       {},
                       1,
                       "file,station",
                       "tzrhdr: {notraw}: no version line",
                       1},
        ConventionCase{"NoCommand", {}, {}, 2, "", "tzrhdr: ", 2},
        ConventionCase{"UnknownCommand",
                       {L"edit", L"A.TZR"},
                       {},
                       2,
                       "",
                       "tzrhdr: unknown command \"edit\"\n",
                       2},
        ConventionCase{"ShowWithoutFiles", {L"show", L"--json"}, {}, 2, "", "tzrhdr: ", 2},
        ConventionCase{"UnknownOption", {L"show", L"--xml", L"A.TZR"}, {}, 2, "", "tzrhdr: ", 2},
        ConventionCase{
            "CodePageWithoutValue", {L"show", L"A.TZR", L"--codepage"}, {}, 2, "", "tzrhdr: ", 2},
        ConventionCase{"CodePageNotANumber",
                       {L"show", L"--codepage", L"gbk", L"A.TZR"},
                       {},
                       2,
                       "",
                       "tzrhdr: --codepage needs a code page number",
                       2},
        ConventionCase{"CodePageUnknown",
                       {L"show", L"--codepage", L"4242", L"A.TZR"},
                       {},
                       2,
                       "",
                       "tzrhdr: --codepage: code page 4242 is not available",
                       2},
        ConventionCase{"CodePageVariableNotANumber",
                       {L"show", L"A.TZR"},
                       L"gbk",
                       2,
                       "",
                       "tzrhdr: TZR_CODEPAGE needs a code page number",
                       2},
        ConventionCase{
            "JsonAndCsv", {L"show", L"--json", L"--csv", L"A.TZR"}, {}, 2, "", "tzrhdr: ", 2},
        ConventionCase{"EncodingWithoutCsv",
                       {L"show", L"--encoding", L"ansi", L"A.TZR"},
                       {},
                       2,
                       "",
                       "tzrhdr: ",
                       2},
        ConventionCase{"CatalogueMissing",
                       {L"catalogue", L"--catalogue", L"{missing}"},
                       {},
                       2,
                       "",
                       "tzrhdr: {missing}: ",
                       1},
        ConventionCase{"CatalogueWithFile", {L"catalogue", L"A.TZR"}, {}, 2, "", "tzrhdr: ", 2}),
    [](const testing::TestParamInfo<ConventionCase>& info) { return info.param.name; });

}  // namespace
