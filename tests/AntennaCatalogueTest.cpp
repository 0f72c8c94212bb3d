#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "antenna/AntennaCatalogue.h"
#include "antenna/DefaultAntennaList.h"
#include "platform/ProgramDirectory.h"

namespace {

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST(DefaultCatalogueFile, Has226CrLfLinesAndNoFinalLineEnd) {
    const std::string text = DefaultCatalogueFileText();
    const std::vector<std::string> lines = SplitCrLf(text);
    ASSERT_EQ(lines.size(), 226u);
    const std::vector<std::string> first(lines.begin(), lines.begin() + 8);
    const std::vector<std::string> expectedFirst = {"[ANTENNA]",
                                                    "Unknown",
                                                    "0.000000",
                                                    "0.000000",
                                                    "0.000000",
                                                    "[ANTENNA]",
                                                    "DRQK07          NONE",
                                                    "0.073500"};
    EXPECT_EQ(first, expectedFirst);
    const std::vector<std::string> last(lines.end() - 6, lines.end());
    const std::vector<std::string> expectedLast = {"[ANTENNA]", "DRQK40",   "0.124",
                                                   "0.11965",   "0.000000", "[END]"};
    EXPECT_EQ(last, expectedLast);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 225);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 225);
}

TEST(AntennaCatalogue, WrittenDefaultFileReadsBackAs45Entries) {
    TemporaryDirectory directory;
    const std::wstring path = directory.PathOf(L"TzrManagerAnt.ini");
    AntennaCatalogue catalogue;
    catalogue.WriteDefaultFile(path);
    EXPECT_EQ(ReadWholeFile(path), DefaultCatalogueFileText());
    catalogue.ReadFromFile(path);
    ASSERT_EQ(catalogue.count, 45);
    EXPECT_EQ(catalogue.entries[0].name, L"Unknown");
    EXPECT_EQ(catalogue.entries[44].name, L"DRQK40");
    EXPECT_EQ(catalogue.entries[17].values[0], L"0.128046290");
    EXPECT_EQ(catalogue.entries[5].name, L"DRQK04              ");
    EXPECT_EQ(catalogue.IndexOfName(L"End"), -1);
}

TEST(AntennaCatalogue, LoadCreatesTheFileBesideTheProgramOnlyWhenMissing) {
    const std::wstring path = GetProgramDirectory() + L"TzrManagerAnt.ini";
    std::filesystem::remove(std::filesystem::path(path));
    AntennaCatalogue catalogue;
    catalogue.Load();
    EXPECT_EQ(catalogue.path, path);
    EXPECT_EQ(catalogue.count, 45);
    EXPECT_EQ(ReadWholeFile(path), DefaultCatalogueFileText());

    { std::ofstream empty(std::filesystem::path(path), std::ios::trunc); }
    catalogue.Load();
    EXPECT_EQ(catalogue.count, 0);
    EXPECT_EQ(ReadWholeFile(path), "");
    std::filesystem::remove(std::filesystem::path(path));
}

struct ParseCase {
    const char* name;
    std::string text;
    std::vector<std::vector<std::wstring>> expected;  // name and values of each entry
    unsigned codePage = 1252;
    std::vector<CatalogueFault> faults = {};
};

using enum CatalogueFault::Kind;

class CatalogueParsing : public testing::TestWithParam<ParseCase> {};

TEST_P(CatalogueParsing, ReadsRecordsInFileOrder) {
    AntennaCatalogue catalogue;
    catalogue.ReadFromText(GetParam().text, GetParam().codePage);
    const auto& expected = GetParam().expected;
    ASSERT_EQ(catalogue.count, static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        const AntennaEntry& entry = catalogue.entries[i];
        const std::vector<std::wstring> actual = {entry.name, entry.values[0], entry.values[1],
                                                  entry.values[2]};
        EXPECT_EQ(actual, expected[i]) << "entry " << i;
    }
    EXPECT_EQ(catalogue.faults, GetParam().faults);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CatalogueParsing,
    testing::Values(
        ParseCase{"Empty", "", {}},
        ParseCase{"LinesBeforeFirstRecordIgnored",
                  "junk\r\nmore\r\n[ANTENNA]\r\nA\r\n1\r\n2\r\n3\r\n[END]",
                  {{L"A", L"1", L"2", L"3"}}},
        ParseCase{"LfReadsLikeCrLf", "[ANTENNA]\nA\n1\n2\n3\n[END]\n", {{L"A", L"1", L"2", L"3"}}},
        ParseCase{
            "LastLineWithoutLineEnd", "[ANTENNA]\r\nA\r\n1\r\n2\r\n3", {{L"A", L"1", L"2", L"3"}}},
        ParseCase{"EndInsideLineEndsCatalogue",
                  "[ANTENNA]\r\nxx[END]yy\r\n[ANTENNA]\r\nB",
                  {{L"", L"", L"", L""}},
                  1252,
                  {{ShortRecord, 1, 0}}},
        ParseCase{"AntennaMarkerMustBeExact",
                  "[ANTENNA]\r\nA\r\n[ANTENNA] \r\n[antenna]\r\n3\r\n",
                  {{L"A", L"[ANTENNA] ", L"[antenna]", L"3"}}},
        ParseCase{"TwoMarkersInARow",
                  "[ANTENNA]\r\n[ANTENNA]\r\nB\r\n",
                  {{L"", L"", L"", L""}, {L"B", L"", L"", L""}},
                  1252,
                  {{ShortRecord, 1, 0}, {ShortRecord, 2, 1}}},
        ParseCase{"EmptyLineIsAField",
                  "[ANTENNA]\r\n\r\n1\r\n",
                  {{L"", L"1", L"", L""}},
                  1252,
                  {{ShortRecord, 1, 2}}},
        ParseCase{"TrailingBlanksKept",
                  "[ANTENNA]\r\nDRQK04    \r\n",
                  {{L"DRQK04    ", L"", L"", L""}},
                  1252,
                  {{ShortRecord, 1, 1}}},
        ParseCase{"LoneCrStaysInLine",
                  "[ANTENNA]\r\nA\rB\r\n1\r\n2\r\n3\r\n",
                  {{L"A\rB", L"1", L"2", L"3"}}},
        ParseCase{"BytesInTheWesternCodePage",
                  "[ANTENNA]\r\nAnt\xE9\xFF\r\n1\r\n2\r\n3\r\n",
                  {{L"Ant\u00E9\u00FF", L"1", L"2", L"3"}}},
        ParseCase{"BytesInTheChineseCodePage",
                  "[ANTENNA]\r\n\xB2\xE2\xCA\xD4\r\n1\r\n2\r\n3\r\n",
                  {{L"\u6D4B\u8BD5", L"1", L"2", L"3"}},
                  936},
        ParseCase{"FieldsAfterTheFourthIgnored",
                  "junk\n[ANTENNA]\nA\n1\n2\n3\n4\n5\n[ANTENNA]\nB\n1\n2\n3\n",
                  {{L"A", L"1", L"2", L"3"}, {L"B", L"1", L"2", L"3"}},
                  1252,
                  {{ExtraLine, 7}, {ExtraLine, 8}}}),
    [](const testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

TEST(AntennaCatalogue, RecordsAfterTheHundredthAreIgnored) {
    std::string text;
    for (int i = 0; i < 150; ++i)
        text += "[ANTENNA]\r\nANT" + std::to_string(i) + "\r\n";
    AntennaCatalogue catalogue;
    catalogue.ReadFromText(text);
    EXPECT_EQ(catalogue.count, 100);
    EXPECT_EQ(catalogue.entries[99].name, L"ANT99");
    EXPECT_EQ(catalogue.faults[100], (CatalogueFault{BeyondCapacity, 201}));
    EXPECT_EQ(catalogue.IndexOfName(L"ANT120"), -1);
}

TEST(AntennaCatalogue, ShortRecordKeepsTextsOfAnEarlierRead) {
    AntennaCatalogue catalogue;
    catalogue.ReadFromText("[ANTENNA]\r\nA\r\n1\r\n2\r\n3\r\n");
    catalogue.ReadFromText("[ANTENNA]\r\nB\r\n");
    EXPECT_EQ(catalogue.entries[0].name, L"B");
    EXPECT_EQ(catalogue.entries[0].values[2], L"3");
}

TEST(AntennaCatalogue, IndexOfNameFindsTheFirstExactMatch) {
    AntennaCatalogue catalogue;
    catalogue.ReadFromText(
        "[ANTENNA]\r\nA\r\n[ANTENNA]\r\nB \r\n[ANTENNA]\r\nB\r\n[ANTENNA]\r\nB\r\n");
    EXPECT_EQ(catalogue.IndexOfName(L"B"), 2);
    EXPECT_EQ(catalogue.IndexOfName(L"B "), 1);
    EXPECT_EQ(catalogue.IndexOfName(L"b"), -1);
}

TEST(AntennaCatalogue, UnreadableFileGivesEmptyCatalogue) {
    TemporaryDirectory directory;
    AntennaCatalogue catalogue;
    catalogue.UseDefaultList();
    catalogue.ReadFromFile(directory.PathOf(L"missing.ini"));
    EXPECT_EQ(catalogue.count, 0);
    catalogue.UseDefaultList();
    catalogue.ReadFromFile(directory.PathOf(L""));
    EXPECT_EQ(catalogue.count, 0);
}

TEST(AntennaCatalogue, FileThatCannotBeCreatedGivesEmptyCatalogue) {
    TemporaryDirectory directory;
    const std::wstring path = directory.PathOf(L"no-such-directory/TzrManagerAnt.ini");
    AntennaCatalogue catalogue;
    catalogue.WriteDefaultFile(path);
    catalogue.ReadFromFile(path);
    EXPECT_EQ(catalogue.count, 0);
}

}  // namespace
