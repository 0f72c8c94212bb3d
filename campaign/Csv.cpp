#include "campaign/Csv.h"

std::optional<std::vector<CsvRow>> ParseCsv(std::string_view text, std::string& error) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    bool quoted = false;
    bool rowHasContent = false;
    const auto endField = [&] {
        row.push_back(std::move(field));
        field.clear();
    };
    const auto endRow = [&] {
        endField();
        if (rowHasContent)
            rows.push_back(std::move(row));
        row.clear();
        rowHasContent = false;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == '"') {
            quoted = true;
            rowHasContent = true;
        } else if (c == ',') {
            endField();
            rowHasContent = true;
        } else if (c == '\n') {
            endRow();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        } else {
            field += c;
            rowHasContent = true;
        }
    }
    if (quoted) {
        error = "a quoted field is not closed";
        return std::nullopt;
    }
    endRow();
    return rows;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string CsvLine(const CsvRow& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += CsvField(fields[i]);
    }
    return line + "\n";
}
