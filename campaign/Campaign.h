#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "campaign/FieldEdits.h"

// A campaign table: one row per station, keyed by the raw file's name ("file" column) or by the
// station name its header holds now ("current-station" column), with one column per field.
// A table that `tzrhdr show --csv` wrote is one: its read-only columns are ignored.
//
// Tables of a million rows are read, so a row is held compactly: its key and its non-empty cells
// of editable fields as UTF-8 in one shared buffer, found through a hash table of row numbers.
class Campaign {
  public:
    // The columns of read-only fields, which the table may hold but which change nothing.
    const std::vector<std::string>& IgnoredColumns() const { return ignoredColumns_; }

    bool KeyedByFile() const { return keyedByFile_; }
    size_t RowCount() const { return rows_.size(); }
    // The row for a file, found by its name or by the station name it holds now; -1 when none.
    int FindRow(const std::wstring& path, const std::wstring& currentStation) const;
    // The row's non-empty cells of editable fields.
    FieldValues Cells(int row) const;
    // The physical line the row starts on, as a spreadsheet numbers its lines.
    size_t Line(int row) const { return rows_[static_cast<size_t>(row)].line; }
    // The row's key in UTF-8, without the blanks and byte-order marks around it.
    std::string_view Key(int row) const;

  private:
    friend class CampaignBuilder;

    struct Row {
        uint32_t line;
        uint32_t key;
        uint32_t firstCell;
        uint16_t keyLength;
    };
    struct Cell {
        uint32_t text;
        uint16_t length;
        uint8_t field;
    };

    std::string_view TextAt(uint32_t offset, size_t length) const;
    // The row of that key as the lookup compares it; -1 when none.
    int FindKey(std::string_view lookupKey) const;
    bool SameKey(std::string_view lookupKey, int row) const;
    // Adds the last row to the hash table; false when another row has its key, given in `other`.
    bool IndexLastRow(int& other);
    void GrowIndex();
    static void Place(std::vector<uint64_t>& slots, uint64_t entry);

    bool keyedByFile_ = true;
    std::vector<Row> rows_;
    std::vector<Cell> cells_;
    std::string text_;
    // Open addressing: each slot holds the key's hash and the row number plus one, or 0 when free.
    std::vector<uint64_t> index_;
    std::vector<std::string> ignoredColumns_;
};
