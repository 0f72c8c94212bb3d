#pragma once

#include <string>

#include "campaign/Csv.h"
#include "header/StationHeader.h"

// The heading row of a table of records: "file", then every field by its name.
CsvRow RecordCsvColumns();
// One record as a table row, in UTF-8.
CsvRow RecordCsvRow(const std::wstring& file, const StationHeader& header, unsigned codePage);
