#pragma once

#include <optional>
#include <string>
#include <string_view>

// A table file's text, as UTF-8, and the code page it was read in.
struct TableText {
    std::string utf8;
    unsigned codePage;
};

// Reads a table file: in `codePage` when one is named; otherwise as UTF-8 when the bytes are
// valid UTF-8, else in `fallbackCodePage`. A UTF-8 byte-order mark is dropped. Nothing, with
// `error`, when the bytes are not text in the code page that applies.
std::optional<TableText> ReadTableText(std::string_view bytes, std::optional<unsigned> codePage,
                                       unsigned fallbackCodePage, std::string& error);

// What a table file in `codePage` begins with: UTF-8 gets a byte-order mark, by which
// spreadsheets tell it from the system's code page.
std::string_view TableFileStart(unsigned codePage);

// UTF-8 text as a table file in `codePage` holds it.
std::string TableFileText(std::string_view utf8, unsigned codePage);
