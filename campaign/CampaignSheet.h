#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "campaign/CampaignMatch.h"
#include "campaign/Findings.h"
#include "campaign/SetBatch.h"
#include "header/FieldTable.h"
#include "header/ValueCheck.h"
#include "platform/FileSystem.h"

// The editable fields, in the field table's order: the sheet's columns after the file name.
std::span<const RecordField* const> SheetFields();

// Columns of a sheet as a table shows them: the file name, one per editable field, the findings.
constexpr size_t kFileNameColumn = 0;
size_t FieldColumn(size_t field);
size_t FindingsColumn();
size_t SheetColumnCount();

// A value given to one cell: the row, and the field by its index in SheetFields().
struct CellEdit {
    size_t row;
    size_t field;
    std::wstring text;
};

// Why a value given to a cell cannot be saved, as the save would refuse it.
struct CellRefusal {
    enum class Reason {
        // The row's file could not be read, so it has nothing to edit.
        Unreadable,
        // `fieldProblem` tells why the field does not take the value.
        FieldValue,
        // `valueProblem` tells why the header cannot hold the record.
        ValueRefused,
        HeaderTooLong,
    };
    size_t row;
    size_t field;
    Reason reason;
    FieldValueProblem fieldProblem;
    ValueProblem valueProblem;
};

// Every raw file of a campaign as a table: the record each file holds, the values the user gave
// its cells, and what check finds in the records as edited. Rows are numbered in the order the
// files were added; views sort and filter them without moving them.
class CampaignSheet {
  public:
    CampaignSheet(const AntennaCatalogue& catalogue, unsigned codePage);
    ~CampaignSheet();
    CampaignSheet(const CampaignSheet&) = delete;
    CampaignSheet& operator=(const CampaignSheet&) = delete;

    // Adds a file as it was read; returns its row. The campaign's findings are brought up to
    // date by Recheck, so that a campaign being read is not checked again after every file.
    size_t Add(CheckedFile file);
    // Finds what the files show together; after the last Add of a reading.
    void Recheck();
    size_t RowCount() const;

    const std::wstring& Path(size_t row) const;
    // Why the row's file could not be read; null when it was.
    const ReadFailure* Failure(size_t row) const;
    // The text a table shows in the cell: the file name, a field's value as the editor shows it
    // (as a save would write the value given to it, else as the file holds it), or the findings'
    // codes.
    std::wstring Text(size_t row, size_t column) const;
    // Whether the field was given a value other than the one the file holds.
    bool Edited(size_t row, size_t field) const;
    bool AnyEdits() const;
    // What check finds in the row's record as edited, the campaign's findings included.
    const std::vector<Finding>& Findings(size_t row) const;
    // The row's findings that concern the column: the file name's, a field's.
    std::vector<const Finding*> CellFindings(size_t row, size_t column) const;

    // Gives the cells their values as one step, which Undo takes back. A value that the save
    // would refuse changes nothing: the first such cell is returned with the reason. A value
    // that leaves a field as the file holds it takes the cell's edit away.
    std::optional<CellRefusal> Apply(const std::vector<CellEdit>& edits);
    bool CanUndo() const;
    bool CanRedo() const;
    // False when there was no step to take back, or to do again.
    bool Undo();
    bool Redo();

    // Rows in the order a table shows them: sorted by the column (numbers by value, ties in
    // the order of the rows), or only the rows with findings.
    std::vector<size_t> View(size_t column, bool ascending, bool problemsOnly) const;
    // The first position in `view` from `from` on, wrapping round, whose row holds `text` in
    // any column, ignoring case; nothing when none does.
    std::optional<size_t> Find(std::span<const size_t> view, size_t from,
                               std::wstring_view text) const;

    // Compares every row with its row of a field log, as check does: log-mismatch and
    // log-missing findings, kept up to date as cells are edited.
    void CompareLog(CampaignMatch log);
    bool HasLog() const;
    // The log's value where it differs from the cell.
    std::optional<std::wstring> LogText(size_t row, size_t field) const;
    // The edits that take the log's value into those of the cells where it differs.
    std::vector<CellEdit> LogEdits(std::span<const size_t> rows,
                                   std::span<const size_t> fields) const;
    // The log's rows that match no file, by their lines.
    std::vector<size_t> UnmatchedLogLines() const;

    // A batch that saves every edited row: its files, each with its values and the header
    // region it was read with, so that a file changed since is not written. `rows` gets each
    // file's row.
    SetBatchRequest SaveRequest(std::vector<size_t>& rows) const;
    // The row's file was saved or read again: the row holds what is on disk now and loses its
    // edits. Steps to undo that touch the row are forgotten.
    void Replace(size_t row, CheckedFile file);

    // The row as `show --csv` writes a record, with the values given to its cells; nothing for
    // an unreadable row.
    std::optional<std::vector<std::string>> CsvRecord(size_t row) const;

  private:
    class Rows;
    std::unique_ptr<Rows> rows_;
};

// Text that a spreadsheet puts on the clipboard: rows separated by line breaks, cells by tabs,
// a cell in double quotes may hold them. A last line break ends the last row.
std::vector<std::vector<std::wstring>> ParseTabSeparated(std::wstring_view text);
// Cells as a spreadsheet takes them from the clipboard, the inverse of ParseTabSeparated.
std::wstring TabSeparated(const std::vector<std::vector<std::wstring>>& cells);

// The edits that paste `cells` with their top left corner at the view's position `viewRow` and
// the field `field`; what falls beyond the last row or field is left out.
std::vector<CellEdit> PasteEdits(std::span<const size_t> view, size_t viewRow, size_t field,
                                 const std::vector<std::vector<std::wstring>>& cells);
