#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "campaign/FieldEdits.h"

// A campaign table: one row per station, keyed by the raw file's name ("file" column) or by the
// station name its header holds now ("current-station" column), with one column per field.
// A table that `tzrhdr show --csv` wrote is one: its read-only columns are ignored.
class Campaign {
  public:
    // From the table's text in UTF-8; nothing, with `error`, when the table cannot be used.
    static std::optional<Campaign> Parse(std::string_view utf8, std::string& error);

    // The columns of read-only fields, which the table may hold but which change nothing.
    const std::vector<std::string>& IgnoredColumns() const { return ignoredColumns_; }

    bool KeyedByFile() const { return keyedByFile_; }
    size_t RowCount() const { return rows_.size(); }
    // The row for a file, found by its name or by the station name it holds now; -1 when none.
    int FindRow(const std::wstring& path, const std::wstring& currentStation) const;
    // The row's non-empty cells of editable fields.
    const FieldValues& Cells(int row) const { return rows_[static_cast<size_t>(row)].cells; }
    // "row N (key)", N counted as a spreadsheet counts its lines.
    std::string Describe(int row) const;

  private:
    struct Row {
        size_t line;
        std::wstring key;
        FieldValues cells;
    };

    std::wstring LookupKey(const std::wstring& key) const;

    bool keyedByFile_ = true;
    std::vector<Row> rows_;
    std::unordered_map<std::wstring, int> rowByKey_;
    std::vector<std::string> ignoredColumns_;
};
