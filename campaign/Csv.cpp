#include "campaign/Csv.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

CsvReader::CsvReader(RecordSink sink, size_t longestCell)
    : sink_(std::move(sink)), longestCell_(longestCell) {}

bool CsvReader::Stop(Fault fault, size_t line) {
    fault_ = fault;
    faultLine_ = line;
    stopped_ = true;
    return false;
}

void CsvReader::Append(char c) {
    if (cellCount_ == cells_.size())
        cells_.emplace_back();
    cells_[cellCount_] += c;
}

void CsvReader::EndCell() {
    if (cellCount_ == cells_.size())
        cells_.emplace_back();
    ++cellCount_;
}

bool CsvReader::EndRecord(size_t lastLine) {
    EndCell();
    bool goOn = true;
    if (recordHasContent_)
        goOn =
            sink_(recordLine_, lastLine, std::span<const std::string>(cells_.data(), cellCount_));
    for (size_t i = 0; i < cellCount_; ++i)
        cells_[i].clear();
    cellCount_ = 0;
    recordHasContent_ = false;
    recordLine_ = line_;
    stopped_ = !goOn;
    return goOn;
}

// One byte of the text, after the byte-order mark; false when the reading stops.
bool CsvReader::Take(char c) {
    // Lines end at CR LF, LF or CR, inside quotes too: the count is the one a spreadsheet shows.
    if (c == '\r' || (c == '\n' && !afterCr_))
        ++line_;
    afterCr_ = c == '\r';
    if (quoteInQuotes_) {
        quoteInQuotes_ = false;
        if (c == '"') {
            Append('"');
            return true;
        }
        quoted_ = false;
    } else if (quoted_) {
        if (c == '"')
            quoteInQuotes_ = true;
        else
            Append(c);
        return cellCount_ >= cells_.size() || cells_[cellCount_].size() <= longestCell_ ||
               Stop(Fault::CellTooLong, line_);
    }
    // A carriage return alone ends the line too, as old Macintosh spreadsheets write them.
    if (pendingCr_) {
        pendingCr_ = false;
        if (c != '\n' && !EndRecord(line_ - 1))
            return false;
    }
    if (c == '"') {
        quoted_ = true;
        recordHasContent_ = true;
    } else if (c == ',') {
        EndCell();
        recordHasContent_ = true;
    } else if (c == '\n') {
        return EndRecord(line_ - 1);
    } else if (c == '\r') {
        pendingCr_ = true;
    } else {
        Append(c);
        recordHasContent_ = true;
    }
    return cellCount_ >= cells_.size() || cells_[cellCount_].size() <= longestCell_ ||
           Stop(Fault::CellTooLong, line_);
}

// The length of the run of plain text at the start of `bytes`, which a cell takes as it is.
size_t PlainRun(std::string_view bytes) {
    size_t length = 0;
    while (length < bytes.size()) {
        const char c = bytes[length];
        if (c == ',' || c == '"' || c == '\r' || c == '\n')
            break;
        ++length;
    }
    return length;
}

bool CsvReader::Read(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (stopped_)
            return false;
        if (!quoted_ && !pendingCr_ && startBytesSeen_ == kByteOrderMark.size()) {
            if (const size_t run = PlainRun(bytes.substr(i)); run > 0) {
                if (cellCount_ == cells_.size())
                    cells_.emplace_back();
                std::string& cell = cells_[cellCount_];
                cell.append(bytes.data() + i, run);
                recordHasContent_ = true;
                if (cell.size() > longestCell_)
                    return Stop(Fault::CellTooLong, line_);
                i += run - 1;
                continue;
            }
        }
        const char c = bytes[i];
        if (startBytesSeen_ < kByteOrderMark.size()) {
            // Bytes held back as the start of a byte-order mark are data after all.
            if (c == kByteOrderMark[startBytesSeen_]) {
                ++startBytesSeen_;
                continue;
            }
            const size_t held = startBytesSeen_;
            startBytesSeen_ = kByteOrderMark.size();
            for (size_t i = 0; i < held; ++i) {
                if (!Take(kByteOrderMark[i]))
                    return false;
            }
        }
        if (!Take(c))
            return false;
    }
    return !stopped_;
}

bool CsvReader::Finish() {
    if (stopped_)
        return false;
    if (startBytesSeen_ < kByteOrderMark.size()) {
        const size_t held = startBytesSeen_;
        startBytesSeen_ = kByteOrderMark.size();
        for (size_t i = 0; i < held; ++i) {
            if (!Take(kByteOrderMark[i]))
                return false;
        }
    }
    if (quoted_ && !quoteInQuotes_)
        return Stop(Fault::UnclosedQuote, recordLine_);
    quoted_ = quoteInQuotes_ = false;
    if (pendingCr_) {
        pendingCr_ = false;
        return EndRecord(line_ - 1);
    }
    return EndRecord(line_);
}

std::optional<std::vector<CsvRow>> ParseCsv(std::string_view text, std::string& error) {
    std::vector<CsvRow> rows;
    CsvReader reader([&](size_t, size_t, std::span<const std::string> cells) {
        rows.emplace_back(cells.begin(), cells.end());
        return true;
    });
    if (!reader.Read(text) || !reader.Finish()) {
        error = "a quoted field is not closed";
        return std::nullopt;
    }
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
