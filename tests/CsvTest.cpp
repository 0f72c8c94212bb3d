#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "campaign/Csv.h"

namespace {

struct CsvCase {
    const char* name;
    std::string text;
    std::vector<CsvRow> rows;
};

class CsvParsing : public testing::TestWithParam<CsvCase> {};

TEST_P(CsvParsing, ReadsRowsAsSpreadsheetsWriteThem) {
    std::string error;
    const std::optional<std::vector<CsvRow>> rows = ParseCsv(GetParam().text, error);
    ASSERT_TRUE(rows) << error;
    EXPECT_EQ(*rows, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CsvParsing,
    testing::Values(CsvCase{"Plain", "a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}},
                    CsvCase{"CrLfAndNoFinalLineEnd", "a,b\r\n1,2", {{"a", "b"}, {"1", "2"}}},
                    CsvCase{"ByteOrderMark",
                            "\xEF\xBB\xBF"
                            "file\nA.TZR\n",
                            {{"file"}, {"A.TZR"}}},
                    CsvCase{"QuotedCommaQuoteAndLineBreak",
                            "\"a,b\",\"say \"\"hi\"\"\",\"x\ny\"\n",
                            {{"a,b", "say \"hi\"", "x\ny"}}},
                    CsvCase{"EmptyCells", "a,,c\n,,\n", {{"a", "", "c"}, {"", "", ""}}},
                    CsvCase{"BlankLinesSkipped", "a\n\n\r\nb\n", {{"a"}, {"b"}}},
                    CsvCase{"Utf8Kept", "\xE6\xB5\x8B,1\n", {{"\xE6\xB5\x8B", "1"}}}),
    [](const testing::TestParamInfo<CsvCase>& info) { return info.param.name; });

TEST(Csv, UnclosedQuoteIsAnError) {
    std::string error;
    EXPECT_FALSE(ParseCsv("\"abc\n", error));
    EXPECT_FALSE(error.empty());
}

TEST(Csv, FieldsAreQuotedOnlyWhenTheyMustBe) {
    EXPECT_EQ(CsvLine({"a", "b c", "d,e", "say \"hi\"", "x\ny"}),
              "a,b c,\"d,e\",\"say \"\"hi\"\"\",\"x\ny\"\n");
    std::string error;
    EXPECT_EQ(*ParseCsv(CsvLine({"d,e", "say \"hi\""}), error),
              (std::vector<CsvRow>{{"d,e", "say \"hi\""}}));
}

}  // namespace
