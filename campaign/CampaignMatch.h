#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "campaign/Campaign.h"
#include "header/StationHeader.h"

// One run's files against the rows of a campaign table: which rows found a file, and which cells
// a spreadsheet damaged.
class CampaignMatch {
  public:
    explicit CampaignMatch(Campaign table);

    const Campaign& Table() const { return table_; }

    // The row of a file that was read, by its name or by the station it holds now; -1 when none.
    int MatchFile(const std::wstring& path, const std::wstring& currentStation);
    // A row keyed by the file's name is the file's even when the file cannot be read.
    void MatchUnreadFile(const std::wstring& path);

    // The row's cells that would change what the file holds. A cell that differs from the file
    // only as a spreadsheet rewrites number-like text is left out, and counted.
    FieldValues ChangingCells(int row, const StationHeader& header,
                              const AntennaCatalogue& catalogue, unsigned codePage);

    std::vector<int> UnmatchedRows() const;
    bool AnyRowMatched() const { return matchedCount_ > 0; }

    // For each column with such cells, in the order of the fields: the field's name and how many
    // of its cells were taken for spreadsheet damage.
    std::vector<std::pair<std::string_view, size_t>> SpreadsheetDamage() const;

  private:
    void Match(int row);

    Campaign table_;
    std::vector<bool> matched_;
    size_t matchedCount_ = 0;
    // Each damaged cell once, however often its row is compared: row times field count plus
    // field.
    std::unordered_set<size_t> damaged_;
};
