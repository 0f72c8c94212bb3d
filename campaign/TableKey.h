#pragma once

#include <string>
#include <string_view>

// How the key cell of a campaign table row is compared with a file: spreadsheets and hand edits
// leave blanks and byte-order marks around it that no file name or station name holds.

// The UTF-8 key without the spaces, tabs, no-break spaces and byte-order marks around it.
std::string_view TrimKey(std::string_view key);

// The key as rows are looked up by it: a file's name without its folders (a table written
// elsewhere may name them, in either spelling) and, as Windows compares names, without regard
// to ASCII letter case; a station name as it is.
std::string LookupKey(std::string_view key, bool fileName);

// Whether a key made by LookupKey names the same file as a key cell.
bool SameFileName(std::string_view lookupKey, std::string_view key);
