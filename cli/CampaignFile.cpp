#include "cli/CampaignFile.h"

#include "cli/CodePageHint.h"
#include "cli/ReadProblem.h"
#include "cli/ToolOptions.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"

namespace {

std::string CodePageName(unsigned codePage, const ToolTexts& texts) {
    return codePage == kUtf8CodePage ? "UTF-8"
                                     : Fill(texts.codePageNumber, {std::to_string(codePage)});
}

}  // namespace

std::string TableErrorText(const TableError& error, unsigned codePage, Language language) {
    const ToolTexts& texts = TextsIn(language);
    const std::string line = std::to_string(error.line);
    switch (error.problem) {
        case TableProblem::None:
            return {};
        case TableProblem::Unreadable:
            return FirstLineOf(error.systemError);
        case TableProblem::Empty:
            return std::string(texts.tableEmpty);
        case TableProblem::UnclosedQuote:
            return Fill(texts.unclosedQuote, {line});
        case TableProblem::NulCharacter:
            return Fill(texts.nulCharacter, {line});
        case TableProblem::CellTooLong:
            return Fill(texts.cellTooLong, {line, std::to_string(kLongestTableCell)});
        case TableProblem::NotUtf8:
            return Fill(texts.notUtf8, {line});
        case TableProblem::NotInNamedCodePage:
            return Fill(texts.notInNamedCodePage, {line, CodePageName(codePage, texts)});
        case TableProblem::NotInAnyCodePage:
            return Fill(texts.notInAnyCodePage, {line, CodePageName(codePage, texts)});
        case TableProblem::MixedEncodings:
            return Fill(texts.mixedEncodings,
                        {line, std::to_string(error.otherLine), CodePageName(codePage, texts)});
        case TableProblem::DuplicateColumn:
            return Fill(texts.duplicateColumn, {line, error.text});
        case TableProblem::UnknownColumn:
            return Fill(texts.unknownColumn, {line, error.text});
        case TableProblem::TwoKeyColumns:
            return Fill(texts.twoKeyColumns, {line});
        case TableProblem::NoKeyColumn:
            return Fill(texts.noKeyColumn, {line});
        case TableProblem::CellCount:
            return Fill(texts.cellCount, {line, CountOf(error.count, texts.oneCell, texts.cells),
                                          std::to_string(error.expected)});
        case TableProblem::DuplicateKey:
            return Fill(texts.duplicateKey, {std::to_string(error.otherLine), line, error.text});
        case TableProblem::TooLarge:
            return Fill(texts.tableTooLarge, {line});
    }
    return {};
}

Campaign LoadCampaignFile(const std::wstring& path, std::optional<unsigned> tableCodePage,
                          unsigned headerCodePage, Language language, std::ostream& err) {
    const ToolTexts& texts = TextsIn(language);
    const std::string name = ToUtf8(path);
    LoadedTable loaded =
        LoadCampaignTable(SystemFileSystem(), path, {tableCodePage, headerCodePage});
    if (!loaded.table)
        throw UsageError{name + ": " + TableErrorText(loaded.error, loaded.codePage, language),
                         false};
    if (IsWesternSingleByte(loaded.codePage) && loaded.holdsNonAscii)
        err << "tzrhdr: " << name << ": "
            << Fill(texts.tableReadInCodePage, {std::to_string(loaded.codePage)}) << "\n";
    std::string ignored;
    for (const std::string& column : loaded.table->IgnoredColumns())
        ignored += (ignored.empty() ? "" : std::string(texts.listSeparator)) + column;
    if (!ignored.empty())
        err << "tzrhdr: " << name << ": " << Fill(texts.readOnlyColumnsIgnored, {ignored}) << "\n";
    return std::move(*loaded.table);
}

void ReportSpreadsheetDamage(const std::wstring& path, const CampaignMatch& match,
                             Language language, std::ostream& err) {
    const ToolTexts& texts = TextsIn(language);
    for (const auto& [column, count] : match.SpreadsheetDamage())
        err << "tzrhdr: " << ToUtf8(path) << ": "
            << Fill(texts.spreadsheetDamage,
                    {column, CountOf(count, texts.oneCellDiffers, texts.cellsDiffer)})
            << "\n";
}
