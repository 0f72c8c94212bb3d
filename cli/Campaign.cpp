#include "cli/Campaign.h"

#include <algorithm>

#include "cli/Csv.h"
#include "cli/Json.h"
#include "platform/CodePage.h"

namespace {

std::string ColumnName(std::string name) {
    std::replace(name.begin(), name.end(), '_', '-');
    std::transform(name.begin(), name.end(), name.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    const size_t first = name.find_first_not_of(' ');
    const size_t last = name.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
}

// File names compare without regard to ASCII letter case, as Windows compares them.
bool SameFileName(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               const auto lower = [](wchar_t c) {
                   return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
               };
               return lower(x) == lower(y);
           });
}

}  // namespace

std::optional<Campaign> Campaign::Parse(std::string_view csvText, std::string& error) {
    const std::optional<std::vector<CsvRow>> table = ParseCsv(csvText, error);
    if (!table)
        return std::nullopt;
    if (table->empty()) {
        error = "the campaign table is empty";
        return std::nullopt;
    }
    std::vector<std::string> columns;
    for (const std::string& cell : table->front())
        columns.push_back(ColumnName(cell));
    Campaign campaign;
    int keyColumn = -1;
    for (size_t i = 0; i < columns.size(); ++i) {
        const bool isKey = columns[i] == "file" || columns[i] == "current-station";
        const auto& fields = FieldNames();
        if (isKey && keyColumn >= 0) {
            error = "the campaign table has two key columns";
            return std::nullopt;
        }
        if (isKey) {
            keyColumn = static_cast<int>(i);
            campaign.keyedByFile_ = columns[i] == "file";
        } else if (std::find(fields.begin(), fields.end(), columns[i]) == fields.end()) {
            error = "unknown column \"" + columns[i] + "\" in the campaign table";
            return std::nullopt;
        }
    }
    if (keyColumn < 0) {
        error = "the campaign table needs a \"file\" or a \"current-station\" column";
        return std::nullopt;
    }
    for (size_t line = 1; line < table->size(); ++line) {
        const CsvRow& cells = (*table)[line];
        Row row{line + 1, {}, {}};
        for (size_t i = 0; i < cells.size() && i < columns.size(); ++i) {
            const std::wstring value = MultiByteToUnicodeString(cells[i], kUtf8CodePage);
            if (static_cast<int>(i) == keyColumn)
                row.key = value;
            else if (!value.empty())
                row.cells.emplace_back(columns[i], value);
        }
        for (const Row& earlier : campaign.rows_) {
            if (campaign.keyedByFile_ ? SameFileName(earlier.key, row.key)
                                      : earlier.key == row.key) {
                error = "rows " + std::to_string(earlier.line) + " and " +
                        std::to_string(row.line) + " are both for " + JsonString(row.key);
                return std::nullopt;
            }
        }
        campaign.rows_.push_back(std::move(row));
    }
    return campaign;
}

int Campaign::FindRow(const std::wstring& fileName, const std::wstring& currentStation) {
    for (size_t i = 0; i < rows_.size(); ++i) {
        const bool match =
            keyedByFile_ ? SameFileName(rows_[i].key, fileName) : rows_[i].key == currentStation;
        if (match) {
            rows_[i].matched = true;
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool Campaign::ApplyRow(int row, const AntennaCatalogue& catalogue, FieldEdits& edits,
                        std::string& error) const {
    for (const auto& [column, value] : rows_[static_cast<size_t>(row)].cells) {
        if (!SetField(edits, column, value, catalogue, error)) {
            error = "campaign row " + std::to_string(rows_[static_cast<size_t>(row)].line) + ": " +
                    error;
            return false;
        }
    }
    return true;
}

std::vector<std::string> Campaign::UnmatchedRows() const {
    std::vector<std::string> unmatched;
    for (const Row& row : rows_) {
        if (!row.matched)
            unmatched.push_back("row " + std::to_string(row.line) + " (" + ToUtf8(row.key) + ")");
    }
    return unmatched;
}
