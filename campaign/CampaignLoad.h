#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "campaign/Campaign.h"
#include "platform/FileSystem.h"

// Why a campaign table cannot be used.
enum class TableProblem {
    None,
    // The file cannot be opened or read; `systemError` says why.
    Unreadable,
    // No heading row.
    Empty,
    UnclosedQuote,
    NulCharacter,
    // A cell longer than kLongestTableCell.
    CellTooLong,
    // Not UTF-8, where --encoding or the byte-order mark says the table is.
    NotUtf8,
    // Not text in the code page that --encoding names.
    NotInNamedCodePage,
    // Neither UTF-8 nor text in the header code page, and no --encoding.
    NotInAnyCodePage,
    // One line valid UTF-8 beyond ASCII, another not: `otherLine` is the first line beyond
    // ASCII, which decided the table's encoding.
    MixedEncodings,
    // `text` names the column.
    DuplicateColumn,
    UnknownColumn,
    TwoKeyColumns,
    NoKeyColumn,
    // A row with `count` cells under `expected` headings.
    CellCount,
    // A row with the key `text` of the row at `otherLine`.
    DuplicateKey,
    // More rows or text than a table's offsets can count.
    TooLarge,
};

struct TableError {
    TableProblem problem = TableProblem::None;
    // The physical line concerned; 0 for the table as a whole.
    size_t line = 0;
    size_t otherLine = 0;
    std::string text;
    size_t count = 0;
    size_t expected = 0;
    std::wstring systemError;
};

// A campaign table as read: the table, or why not, and the code page it was read in.
struct LoadedTable {
    std::optional<Campaign> table;
    TableError error;
    unsigned codePage = 0;
    // Whether it holds text beyond ASCII, which a Western code page may have garbled.
    bool holdsNonAscii = false;
};

// How a table's bytes are decoded: in `named` when --encoding names a code page; else as UTF-8
// when it is, else in `fallback`, the header code page.
struct TableEncodingChoice {
    std::optional<unsigned> named;
    unsigned fallback;
};

// No field of a header, nor a file's name, needs a longer cell; a longer one is refused as soon
// as it is read.
constexpr size_t kLongestTableCell = 1024;

// Reads the table as its bytes arrive, so that memory grows with what it holds, not with the
// file.
class CampaignLoader {
  public:
    explicit CampaignLoader(TableEncodingChoice encoding);
    ~CampaignLoader();
    CampaignLoader(const CampaignLoader&) = delete;
    CampaignLoader& operator=(const CampaignLoader&) = delete;

    // False once the table is refused.
    bool Read(std::string_view bytes);
    LoadedTable Finish();

  private:
    class Reading;
    std::unique_ptr<Reading> reading_;
};

LoadedTable LoadCampaignTable(std::string_view bytes, TableEncodingChoice encoding);
LoadedTable LoadCampaignTable(FileSystem& files, const std::wstring& path,
                              TableEncodingChoice encoding);
