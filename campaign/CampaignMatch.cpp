#include "campaign/CampaignMatch.h"

#include "campaign/SpreadsheetDamage.h"
#include "header/FieldTable.h"

namespace {

size_t FieldIndex(const RecordField& field) {
    return static_cast<size_t>(&field - RecordFields().data());
}

}  // namespace

CampaignMatch::CampaignMatch(Campaign table)
    : table_(std::move(table)), matched_(table_.RowCount(), false) {}

void CampaignMatch::Match(int row) {
    if (row < 0 || matched_[static_cast<size_t>(row)])
        return;
    matched_[static_cast<size_t>(row)] = true;
    ++matchedCount_;
}

int CampaignMatch::MatchFile(const std::wstring& path, const std::wstring& currentStation) {
    const int row = table_.FindRow(path, currentStation);
    Match(row);
    return row;
}

void CampaignMatch::MatchUnreadFile(const std::wstring& path) {
    if (table_.KeyedByFile())
        Match(table_.FindRow(path, {}));
}

FieldValues CampaignMatch::ChangingCells(int row, const StationHeader& header,
                                         const AntennaCatalogue& catalogue, unsigned codePage) {
    FieldValues changing;
    for (FieldValue& cell : table_.Cells(row)) {
        const RecordField& field = *cell.field;
        if (KeepsFieldValue(field, header, cell.text, catalogue, codePage))
            continue;
        if (SpreadsheetMayDamage(field) &&
            IsSpreadsheetDamage(field.print(header, codePage), cell.text)) {
            damaged_.insert(static_cast<size_t>(row) * RecordFields().size() + FieldIndex(field));
            continue;
        }
        changing.push_back(std::move(cell));
    }
    return changing;
}

std::vector<int> CampaignMatch::UnmatchedRows() const {
    std::vector<int> rows;
    for (size_t row = 0; row < matched_.size(); ++row) {
        if (!matched_[row])
            rows.push_back(static_cast<int>(row));
    }
    return rows;
}

std::vector<std::pair<std::string_view, size_t>> CampaignMatch::SpreadsheetDamage() const {
    std::vector<size_t> counts(RecordFields().size(), 0);
    for (const size_t cell : damaged_)
        ++counts[cell % RecordFields().size()];
    std::vector<std::pair<std::string_view, size_t>> damage;
    for (size_t field = 0; field < counts.size(); ++field) {
        if (counts[field] > 0)
            damage.emplace_back(RecordFields()[field].name, counts[field]);
    }
    return damage;
}
