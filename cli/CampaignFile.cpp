#include "cli/CampaignFile.h"

#include "cli/CodePageHint.h"
#include "cli/ReadProblem.h"
#include "cli/ToolOptions.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"

namespace {

std::string CodePageName(unsigned codePage) {
    return codePage == kUtf8CodePage ? "UTF-8" : "code page " + std::to_string(codePage);
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

std::string TableErrorText(const TableError& error, unsigned codePage) {
    const std::string line = "line " + std::to_string(error.line);
    switch (error.problem) {
        case TableProblem::None:
            return {};
        case TableProblem::Unreadable:
            return FirstLineOf(error.systemError);
        case TableProblem::Empty:
            return "the table is empty";
        case TableProblem::UnclosedQuote:
            return "a quoted field is not closed (it opens in the row of " + line + ")";
        case TableProblem::NulCharacter:
            return line + " holds a NUL character; save the table as CSV text";
        case TableProblem::CellTooLong:
            return line + ": a cell is longer than " + std::to_string(kLongestTableCell) +
                   " bytes, longer than any field can hold";
        case TableProblem::NotUtf8:
            return line + " is not text in UTF-8 (--encoding or the byte-order mark says it is)";
        case TableProblem::NotInNamedCodePage:
            return line + " is not text in " + CodePageName(codePage) + " (--encoding)";
        case TableProblem::NotInAnyCodePage:
            return line + " is neither UTF-8 nor text in " + CodePageName(codePage) +
                   "; name its encoding with --encoding";
        case TableProblem::MixedEncodings:
            return line + " is not in the encoding of line " + std::to_string(error.otherLine) +
                   " (" + CodePageName(codePage) + "): the table mixes encodings; save it in one";
        case TableProblem::DuplicateColumn:
            return line + ": the column " + Quoted(error.text) + " appears twice";
        case TableProblem::UnknownColumn:
            return line + ": unknown column " + Quoted(error.text);
        case TableProblem::TwoKeyColumns:
            return line + ": there are two key columns, \"file\" and \"current-station\"";
        case TableProblem::NoKeyColumn:
            return line + ": a \"file\" or a \"current-station\" column is needed";
        case TableProblem::CellCount:
            return line + " has " + std::to_string(error.count) +
                   (error.count == 1 ? " cell" : " cells") + " where the headings have " +
                   std::to_string(error.expected);
        case TableProblem::DuplicateKey:
            return "rows " + std::to_string(error.otherLine) + " and " +
                   std::to_string(error.line) + " are both for " + Quoted(error.text);
        case TableProblem::TooLarge:
            return line + ": the table is too large";
    }
    return {};
}

Campaign LoadCampaignFile(const std::wstring& path, std::optional<unsigned> tableCodePage,
                          unsigned headerCodePage, std::ostream& err) {
    const std::string name = ToUtf8(path);
    LoadedTable loaded =
        LoadCampaignTable(SystemFileSystem(), path, {tableCodePage, headerCodePage});
    if (!loaded.table)
        throw UsageError{name + ": " + TableErrorText(loaded.error, loaded.codePage), false};
    if (IsWesternSingleByte(loaded.codePage) && loaded.holdsNonAscii)
        err << "tzrhdr: " << name << ": read in code page " << loaded.codePage
            << "; for a Chinese table give --encoding 936\n";
    std::string ignored;
    for (const std::string& column : loaded.table->IgnoredColumns())
        ignored += (ignored.empty() ? "" : ", ") + column;
    if (!ignored.empty())
        err << "tzrhdr: " << name << ": read-only columns ignored: " << ignored << "\n";
    return std::move(*loaded.table);
}

void ReportSpreadsheetDamage(const std::wstring& path, const CampaignMatch& match,
                             std::ostream& err) {
    for (const auto& [column, count] : match.SpreadsheetDamage())
        err << "tzrhdr: " << ToUtf8(path) << ": " << column << ": " << count
            << (count == 1 ? " cell differs" : " cells differ")
            << " from the file only as a spreadsheet rewrites numbers (zeros dropped, "
               "E-notation); taken as unchanged\n";
}
