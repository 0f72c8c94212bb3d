#include "campaign/RecordCsv.h"

#include "header/FieldTable.h"
#include "platform/Utf8.h"

CsvRow RecordCsvColumns() {
    CsvRow columns = {"file"};
    for (const RecordField& field : RecordFields())
        columns.emplace_back(field.name);
    return columns;
}

CsvRow RecordCsvRow(const std::wstring& file, const StationHeader& header, unsigned codePage) {
    CsvRow cells = {ToUtf8(file)};
    for (const RecordField& field : RecordFields())
        cells.push_back(ToUtf8(field.print(header, codePage)));
    return cells;
}
