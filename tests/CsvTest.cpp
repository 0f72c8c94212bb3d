#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "campaign/CampaignLoad.h"
#include "campaign/Csv.h"
#include "campaign/SpreadsheetDamage.h"

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
                    CsvCase{"CrAlone", "a,b\r1,2\r\r", {{"a", "b"}, {"1", "2"}}},
                    CsvCase{"ByteOrderMark",
                            "\xEF\xBB\xBF"
                            "file\nA.TZR\n",
                            {{"file"}, {"A.TZR"}}},
                    CsvCase{"QuotedCommaQuoteAndLineBreak",
                            "\"a,b\",\"say \"\"hi\"\"\",\"x\ny\"\n",
                            {{"a,b", "say \"hi\"", "x\ny"}}},
                    CsvCase{"EmptyCells", "a,,c\n,,\n", {{"a", "", "c"}, {"", "", ""}}},
                    CsvCase{"BlankLinesSkipped", "a\n\n\r\nb\n", {{"a"}, {"b"}}},
                    CsvCase{"Utf8Kept", "\xE6\xB5\x8B,1\n", {{"\xE6\xB5\x8B", "1"}}},
                    CsvCase{"ByteOrderMarkOnlyAtTheStart",
                            "a\n\xEF\xBB\xBF"
                            "b\n",
                            {{"a"},
                             {"\xEF\xBB\xBF"
                              "b"}}}),
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

// 测站 in UTF-8 and in GBK.
const std::string kUtf8 = "\xE6\xB5\x8B\xE7\xAB\x99";
const std::string kGbk = "\xB2\xE2\xD5\xBE";

struct TableCase {
    const char* name;
    std::string text;
    std::optional<unsigned> encoding;
    TableProblem problem;
    // The line the refusal names, or the lines the rows start on.
    std::vector<size_t> lines;
};

class TableLoading : public testing::TestWithParam<TableCase> {};

TEST_P(TableLoading, NamesEachRowAndEachRefusalByItsPhysicalLine) {
    const TableCase& c = GetParam();
    const LoadedTable whole = LoadCampaignTable(c.text, {c.encoding, 936});
    // Bytes arrive in pieces of any size, and so does the verdict.
    CampaignLoader bytewise({c.encoding, 936});
    for (const char byte : c.text)
        bytewise.Read(std::string_view(&byte, 1));
    const LoadedTable pieces = bytewise.Finish();
    for (const LoadedTable* loaded : {&whole, &pieces}) {
        EXPECT_EQ(loaded->error.problem, c.problem);
        std::vector<size_t> lines;
        if (loaded->table) {
            for (size_t row = 0; row < loaded->table->RowCount(); ++row)
                lines.push_back(loaded->table->Line(static_cast<int>(row)));
        } else {
            lines.push_back(loaded->error.line);
        }
        EXPECT_EQ(lines, c.lines);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, TableLoading,
    testing::Values(
        TableCase{"BlankLinesAndQuotedLineBreaksKeepTheCount",
                  "file,station\r\n\r\nA.TZR,\"two\r\nlines\"\r\n,\r\nB.TZR,P\r\n",
                  std::nullopt,
                  TableProblem::None,
                  {3, 6}},
        TableCase{"CrLineEnds",
                  "file,station\rA.TZR,P\r\rB.TZR,Q,R\r",
                  std::nullopt,
                  TableProblem::CellCount,
                  {4}},
        TableCase{"FewerCellsThanHeadings",
                  "file,station,antenna-height,measure-to\nABCD123A.TZR,1.600,3\n",
                  std::nullopt,
                  TableProblem::CellCount,
                  {2}},
        TableCase{"Utf8RowsThenGbk",
                  "file,station\nA.TZR,P\nB.TZR," + kUtf8 + "\nC.TZR,P\nD.TZR," + kGbk + "\n",
                  std::nullopt,
                  TableProblem::MixedEncodings,
                  {5}},
        TableCase{"GbkRowsThenUtf8",
                  "file,station\nB.TZR," + kGbk + "\nD.TZR," + kUtf8 + "\n",
                  std::nullopt,
                  TableProblem::MixedEncodings,
                  {3}},
        TableCase{"GbkAfterAByteOrderMark",
                  "\xEF\xBB\xBF"
                  "file,station\nB.TZR," +
                      kGbk + "\n",
                  std::nullopt,
                  TableProblem::NotUtf8,
                  {2}},
        TableCase{"Utf8RowInATableNamedGbk",
                  "file,station\nB.TZR," + kGbk + "\nD.TZR," + kUtf8 + "\n",
                  936,
                  TableProblem::MixedEncodings,
                  {3}},
        TableCase{"Nul",
                  std::string("file,station\nA.TZR,P\0\n", 22),
                  std::nullopt,
                  TableProblem::NulCharacter,
                  {2}},
        TableCase{"CellTooLong",
                  "file,station\nA.TZR,P\nB.TZR,\"" + std::string(kLongestTableCell + 1, 'x'),
                  std::nullopt,
                  TableProblem::CellTooLong,
                  {3}},
        TableCase{"UnclosedQuote",
                  "file,station\nA.TZR,\"P\n\n",
                  std::nullopt,
                  TableProblem::UnclosedQuote,
                  {2}},
        TableCase{"SameKeyTwice",
                  "file,station\nA.TZR,P\n\nsub/a.tzr,Q\n",
                  std::nullopt,
                  TableProblem::DuplicateKey,
                  {4}},
        TableCase{"UnknownColumn", "file,colour\n", std::nullopt, TableProblem::UnknownColumn, {1}},
        // Decoded as the lines before it say, not as a later GBK line would.
        TableCase{"ByteOrderMarkInAQuotedHeading",
                  "\"file\n\xEF\xBB\xBF\"\nB.TZR," + kGbk + "\n",
                  std::nullopt,
                  TableProblem::UnknownColumn,
                  {1}},
        TableCase{"Empty", "\r\n\r\n", std::nullopt, TableProblem::Empty, {0}}),
    [](const testing::TestParamInfo<TableCase>& info) { return info.param.name; });

TEST(TableLoading, KeysMatchWithoutBlanksAndByteOrderMarksAround) {
    const LoadedTable loaded = LoadCampaignTable(
        "\xEF\xBB\xBF"
        "file,station\r\n"
        "\xEF\xBB\xBF"
        "ABCD123A.TZR ,P1\r\n\t"
        "EFGH123A.TZR\xC2\xA0,P2\r\n",
        {std::nullopt, 936});
    ASSERT_TRUE(loaded.table);
    EXPECT_EQ(loaded.table->FindRow(L"/obs/abcd123a.tzr", L""), 0);
    EXPECT_EQ(loaded.table->FindRow(L"C:\\obs\\EFGH123A.TZR", L""), 1);
    EXPECT_EQ(loaded.table->Line(0), 2u);
    EXPECT_EQ(loaded.table->Key(0), "ABCD123A.TZR");
}

struct DamageCase {
    std::wstring held;
    std::wstring cell;
    bool damage;
};

class SpreadsheetDamage : public testing::TestWithParam<DamageCase> {};

TEST_P(SpreadsheetDamage, IsWhatASpreadsheetWritesForTheSameNumber) {
    EXPECT_EQ(IsSpreadsheetDamage(GetParam().held, GetParam().cell), GetParam().damage);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, SpreadsheetDamage,
    testing::Values(DamageCase{L"0400001", L"400001", true}, DamageCase{L"3.10", L"3.1", true},
                    DamageCase{L"-007.50", L"-7.5", true},
                    DamageCase{L"400001", L"4.00001E+5", true},
                    DamageCase{L"0400001000000", L"4.00001E+11", true},
                    DamageCase{L"123456789012", L"1.23457E+11", true},
                    DamageCase{L"12345678901234567", L"12345678901234600", true},
                    // Edits: a spreadsheet neither adds nor rounds without E-notation.
                    DamageCase{L"400001", L"0400001", false}, DamageCase{L"3.1", L"3.10", false},
                    DamageCase{L"0400001", L"400002", false},
                    DamageCase{L"123456789012", L"1.23456E+11", false},
                    DamageCase{L"4.44", L"4.4", false}, DamageCase{L"A-99", L"99", false},
                    DamageCase{L"0400001", L"+400001", false}));

}  // namespace
