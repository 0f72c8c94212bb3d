#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

using CsvRow = std::vector<std::string>;

// Comma-separated text as spreadsheets write it: fields in double quotes may hold commas, line
// breaks and doubled quotes; CR LF or LF ends a row; a UTF-8 byte-order mark is skipped; blank
// lines are skipped. Nothing, with `error` set, for an unterminated quote.
std::optional<std::vector<CsvRow>> ParseCsv(std::string_view text, std::string& error);

// One field for a CSV line, quoted when it must be.
std::string CsvField(std::string_view text);
std::string CsvLine(const CsvRow& fields);
