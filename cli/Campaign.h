#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "cli/FieldEdits.h"

// A campaign table: one row per station, keyed by the raw file's name ("file" column) or by the
// station name its header holds now ("current-station" column), with one column per field.
class Campaign {
  public:
    // Nothing, with `error` set, when the table cannot be used at all.
    static std::optional<Campaign> Parse(std::string_view csvText, std::string& error);

    // The row for a file, by its name or its current station name; -1 when there is none.
    int FindRow(const std::wstring& fileName, const std::wstring& currentStation);
    // Adds the row's non-empty cells to `edits`; false, with `error`, for a bad value.
    bool ApplyRow(int row, const AntennaCatalogue& catalogue, FieldEdits& edits,
                  std::string& error) const;
    // "row N (key)" of each row that no file matched.
    std::vector<std::string> UnmatchedRows() const;

  private:
    struct Row {
        size_t line;
        std::wstring key;
        std::vector<std::pair<std::string, std::wstring>> cells;
        bool matched = false;
    };

    bool keyedByFile_ = true;
    std::vector<Row> rows_;
};
