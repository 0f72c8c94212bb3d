#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using CsvRow = std::vector<std::string>;

// Comma-separated text as spreadsheets write it, read as it arrives, in pieces of any size:
// fields in double quotes may hold commas, line breaks and doubled quotes; CR LF, LF or CR ends a
// record; a UTF-8 byte-order mark at the very start is skipped; blank lines are skipped. Each
// record comes with the physical line it starts on, as a spreadsheet numbers its lines.
class CsvReader {
  public:
    enum class Fault { None, UnclosedQuote, CellTooLong };

    // Called for each record with the lines it starts and ends on; returning false stops the
    // reading.
    using RecordSink =
        std::function<bool(size_t firstLine, size_t lastLine, std::span<const std::string> cells)>;

    explicit CsvReader(RecordSink sink, size_t longestCell = std::numeric_limits<size_t>::max());

    // False once the reading stopped, at a fault or because the sink asked.
    bool Read(std::string_view bytes);
    // Ends the text; false as Read.
    bool Finish();

    Fault ReadFault() const { return fault_; }
    // The line of the fault: where the unclosed quote's record starts, or where the cell grew
    // too long.
    size_t FaultLine() const { return faultLine_; }

  private:
    bool Take(char c);
    void Append(char c);
    void EndCell();
    bool EndRecord(size_t lastLine);
    bool Stop(Fault fault, size_t line);

    RecordSink sink_;
    size_t longestCell_;
    // The cells of the record being read; kept between records so that their buffers are reused.
    std::vector<std::string> cells_;
    size_t cellCount_ = 0;
    size_t line_ = 1;
    size_t recordLine_ = 1;
    size_t startBytesSeen_ = 0;
    bool quoted_ = false;
    // A quote inside a quoted field, not yet known to be doubled or closing.
    bool quoteInQuotes_ = false;
    bool pendingCr_ = false;
    // The last byte taken was a CR, so that an LF after it ends no further line.
    bool afterCr_ = false;
    bool recordHasContent_ = false;
    bool stopped_ = false;
    Fault fault_ = Fault::None;
    size_t faultLine_ = 0;
};

// Whole comma-separated text as CsvReader reads it. Nothing, with `error` set, for an
// unterminated quote.
std::optional<std::vector<CsvRow>> ParseCsv(std::string_view text, std::string& error);

// One field for a CSV line, quoted when it must be.
std::string CsvField(std::string_view text);
std::string CsvLine(const CsvRow& fields);
