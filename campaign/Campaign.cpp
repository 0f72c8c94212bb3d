#include "campaign/Campaign.h"

#include <algorithm>

#include "campaign/Csv.h"
#include "platform/Utf8.h"
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

// A table written elsewhere may name files with their folders, in either spelling.
std::wstring FileNameOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"/\\");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

// File names compare without regard to ASCII letter case, as Windows compares them.
std::wstring FoldedFileName(const std::wstring& path) {
    std::wstring name = FileNameOf(path);
    for (wchar_t& c : name) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return name;
}

struct Columns {
    int key = -1;
    bool keyedByFile = true;
    // The editable field of each column; null for the key and for ignored columns.
    std::vector<const RecordField*> fields;
    std::vector<std::string> ignored;
};

std::optional<Columns> ReadColumns(const CsvRow& names, std::string& error) {
    Columns columns;
    std::vector<std::string> seen;
    for (const std::string& cell : names) {
        const std::string name = ColumnName(cell);
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
            error = "the column \"" + name + "\" appears twice";
            return std::nullopt;
        }
        seen.push_back(name);
        const RecordField* field = FindRecordField(name);
        columns.fields.push_back(field != nullptr && field->Editable() ? field : nullptr);
        if (name == "file" || name == "current-station") {
            if (columns.key >= 0) {
                error = "there are two key columns, \"file\" and \"current-station\"";
                return std::nullopt;
            }
            columns.key = static_cast<int>(columns.fields.size() - 1);
            columns.keyedByFile = name == "file";
        } else if (field == nullptr) {
            error = "unknown column \"" + name + "\"";
            return std::nullopt;
        } else if (!field->Editable()) {
            columns.ignored.push_back(name);
        }
    }
    if (columns.key < 0) {
        error = "a \"file\" or a \"current-station\" column is needed";
        return std::nullopt;
    }
    return columns;
}

bool AllEmpty(const CsvRow& cells) {
    return std::all_of(cells.begin(), cells.end(), [](const std::string& c) { return c.empty(); });
}

}  // namespace

std::optional<Campaign> Campaign::Parse(std::string_view utf8, std::string& error) {
    const std::optional<std::vector<CsvRow>> table = ParseCsv(utf8, error);
    if (!table)
        return std::nullopt;
    if (table->empty()) {
        error = "the table is empty";
        return std::nullopt;
    }
    const std::optional<Columns> columns = ReadColumns(table->front(), error);
    if (!columns)
        return std::nullopt;
    Campaign campaign;
    campaign.keyedByFile_ = columns->keyedByFile;
    campaign.ignoredColumns_ = columns->ignored;
    const size_t keyColumn = static_cast<size_t>(columns->key);
    campaign.rows_.reserve(table->size());
    campaign.rowByKey_.reserve(table->size());
    for (size_t line = 1; line < table->size(); ++line) {
        const CsvRow& cells = (*table)[line];
        if (AllEmpty(cells))
            continue;
        Row row{line + 1, {}, {}};
        if (keyColumn < cells.size())
            row.key = MultiByteToUnicodeString(cells[keyColumn], kUtf8CodePage);
        for (size_t i = 0; i < cells.size() && i < columns->fields.size(); ++i) {
            if (columns->fields[i] != nullptr && !cells[i].empty())
                row.cells.push_back(
                    {columns->fields[i], MultiByteToUnicodeString(cells[i], kUtf8CodePage)});
        }
        const int index = static_cast<int>(campaign.rows_.size());
        const auto [earlier, added] =
            campaign.rowByKey_.emplace(campaign.LookupKey(row.key), index);
        if (!added) {
            error = "rows " + std::to_string(campaign.rows_[earlier->second].line) + " and " +
                    std::to_string(row.line) + " are both for \"" + ToUtf8(row.key) + "\"";
            return std::nullopt;
        }
        campaign.rows_.push_back(std::move(row));
    }
    return campaign;
}

std::wstring Campaign::LookupKey(const std::wstring& key) const {
    return keyedByFile_ ? FoldedFileName(key) : key;
}

int Campaign::FindRow(const std::wstring& path, const std::wstring& currentStation) const {
    const auto found = rowByKey_.find(LookupKey(keyedByFile_ ? path : currentStation));
    return found == rowByKey_.end() ? -1 : found->second;
}

std::string Campaign::Describe(int row) const {
    const Row& described = rows_[static_cast<size_t>(row)];
    return "row " + std::to_string(described.line) + " (" + ToUtf8(described.key) + ")";
}
