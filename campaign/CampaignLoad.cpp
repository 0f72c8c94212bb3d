#include "campaign/CampaignLoad.h"

#include <algorithm>
#include <limits>
#include <span>

#include "campaign/Csv.h"
#include "campaign/TableEncoding.h"
#include "campaign/TableKey.h"
#include "header/AsciiText.h"
#include "platform/CodePage.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kReadBlock = 256 * 1024;

std::string ColumnName(std::string_view cell) {
    std::string name(TrimKey(cell));
    std::replace(name.begin(), name.end(), '_', '-');
    return AsciiLowercase(name);
}

bool HasHighBytes(std::span<const std::string> cells) {
    return std::any_of(cells.begin(), cells.end(), [](const std::string& cell) {
        return std::any_of(cell.begin(), cell.end(),
                           [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    });
}

// A record's cells in one text, NUL between them: no cell holds a NUL, and a code page is
// converted once per record rather than once per cell.
std::string JoinedCells(std::span<const std::string> cells) {
    std::string joined;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            joined += '\0';
        joined += cells[i];
    }
    return joined;
}

void SplitCells(std::string_view joined, std::vector<std::string>& cells) {
    cells.clear();
    for (size_t end; (end = joined.find('\0')) != std::string_view::npos;
         joined.remove_prefix(end + 1))
        cells.emplace_back(joined.substr(0, end));
    cells.emplace_back(joined);
}

TableError ErrorAt(TableProblem problem, size_t line) {
    TableError error;
    error.problem = problem;
    error.line = line;
    return error;
}

}  // namespace

// Builds a Campaign from its records, decoded to UTF-8: the headings, then the rows.
class CampaignBuilder {
  public:
    bool Add(size_t line, std::span<const std::string> cells, TableError& error) {
        return headingsRead_ ? AddRow(line, cells, error) : ReadHeadings(line, cells, error);
    }

    bool HeadingsRead() const { return headingsRead_; }
    Campaign Take() { return std::move(campaign_); }

  private:
    static constexpr int kNoField = -1;

    // The cell's text; the first cell of a record without the byte-order mark that joining
    // tables gives it.
    static std::string_view CellText(std::span<const std::string> cells, size_t i) {
        std::string_view text = cells[i];
        if (i == 0 && text.starts_with(kByteOrderMark))
            text.remove_prefix(kByteOrderMark.size());
        return text;
    }

    bool ReadHeadings(size_t line, std::span<const std::string> cells, TableError& error) {
        headingsRead_ = true;
        const auto refuse = [&](TableProblem problem, std::string name) {
            error = ErrorAt(problem, line);
            error.text = std::move(name);
            return false;
        };
        std::vector<std::string> seen;
        bool keyFound = false;
        for (size_t i = 0; i < cells.size(); ++i) {
            const std::string name = ColumnName(CellText(cells, i));
            if (std::find(seen.begin(), seen.end(), name) != seen.end())
                return refuse(TableProblem::DuplicateColumn, name);
            seen.push_back(name);
            const RecordField* field = FindRecordField(name);
            fieldOfColumn_.push_back(field != nullptr && field->Editable()
                                         ? static_cast<int>(field - RecordFields().data())
                                         : kNoField);
            if (name == "file" || name == "current-station") {
                if (keyFound)
                    return refuse(TableProblem::TwoKeyColumns, name);
                keyFound = true;
                keyColumn_ = i;
                campaign_.keyedByFile_ = name == "file";
            } else if (field == nullptr) {
                return refuse(TableProblem::UnknownColumn, name);
            } else if (!field->Editable()) {
                campaign_.ignoredColumns_.push_back(name);
            }
        }
        if (!keyFound)
            return refuse(TableProblem::NoKeyColumn, {});
        return true;
    }

    bool AddRow(size_t line, std::span<const std::string> cells, TableError& error) {
        if (std::all_of(cells.begin(), cells.end(),
                        [](const std::string& cell) { return cell.empty(); }))
            return true;
        if (cells.size() != fieldOfColumn_.size()) {
            error = ErrorAt(TableProblem::CellCount, line);
            error.count = cells.size();
            error.expected = fieldOfColumn_.size();
            return false;
        }
        size_t textSize = 0;
        for (const std::string& cell : cells)
            textSize += cell.size();
        if (campaign_.text_.size() + textSize > std::numeric_limits<uint32_t>::max() ||
            campaign_.rows_.size() >= std::numeric_limits<int32_t>::max() - 1 ||
            line > std::numeric_limits<uint32_t>::max()) {
            error = ErrorAt(TableProblem::TooLarge, line);
            return false;
        }
        const std::string_view key = TrimKey(CellText(cells, keyColumn_));
        campaign_.rows_.push_back({static_cast<uint32_t>(line), Offset(),
                                   static_cast<uint32_t>(campaign_.cells_.size()),
                                   static_cast<uint16_t>(key.size())});
        campaign_.text_ += key;
        for (size_t i = 0; i < cells.size(); ++i) {
            const std::string_view text = CellText(cells, i);
            if (fieldOfColumn_[i] == kNoField || text.empty())
                continue;
            campaign_.cells_.push_back({Offset(), static_cast<uint16_t>(text.size()),
                                        static_cast<uint8_t>(fieldOfColumn_[i])});
            campaign_.text_ += text;
        }
        int other = -1;
        if (campaign_.IndexLastRow(other))
            return true;
        error = ErrorAt(TableProblem::DuplicateKey, line);
        error.otherLine = campaign_.Line(other);
        error.text = key;
        return false;
    }

    uint32_t Offset() const { return static_cast<uint32_t>(campaign_.text_.size()); }

    Campaign campaign_;
    bool headingsRead_ = false;
    size_t keyColumn_ = 0;
    std::vector<int> fieldOfColumn_;
};

class CampaignLoader::Reading {
  public:
    explicit Reading(TableEncodingChoice encoding)
        : named_(encoding.named.has_value()),
          encoding_(encoding.named, encoding.fallback),
          csv_(
              [this](size_t line, size_t lastLine, std::span<const std::string> cells) {
                  return TakeRecord(line, lastLine, cells);
              },
              kLongestTableCell) {}

    bool Read(std::string_view bytes) {
        if (error_.problem != TableProblem::None)
            return false;
        // The CSV reader gets the bytes before an encoding fault only, so that a fault it finds
        // there comes first.
        const bool encodingRead = encoding_.Read(bytes);
        return Settle(
            encodingRead,
            csv_.Read(encodingRead ? bytes : bytes.substr(0, encoding_.BytesBeforeFault())));
    }

    LoadedTable Finish() {
        if (error_.problem == TableProblem::None) {
            const bool encodingRead = encoding_.Finish();
            Settle(encodingRead, encodingRead && csv_.Finish());
        }
        if (error_.problem == TableProblem::None && !builder_.HeadingsRead())
            error_ = ErrorAt(TableProblem::Empty, 0);
        LoadedTable loaded;
        loaded.codePage = encoding_.CodePage();
        loaded.holdsNonAscii = encoding_.HoldsNonAscii();
        if (error_.problem == TableProblem::None)
            loaded.table = builder_.Take();
        loaded.error = std::move(error_);
        return loaded;
    }

  private:
    // The first fault, in the order of the bytes, if any.
    bool Settle(bool encodingRead, bool csvRead) {
        if (error_.problem != TableProblem::None)
            return false;
        const CsvReader::Fault csvFault = csv_.ReadFault();
        if (!csvRead && csvFault != CsvReader::Fault::None) {
            error_ =
                ErrorAt(csvFault == CsvReader::Fault::UnclosedQuote ? TableProblem::UnclosedQuote
                                                                    : TableProblem::CellTooLong,
                        csv_.FaultLine());
            return false;
        }
        if (encodingRead)
            return true;
        switch (encoding_.ReadFault()) {
            case TableEncodingCheck::Fault::NulCharacter:
                error_ = ErrorAt(TableProblem::NulCharacter, encoding_.FaultLine());
                break;
            case TableEncodingCheck::Fault::NotUtf8:
                error_ = ErrorAt(TableProblem::NotUtf8, encoding_.FaultLine());
                break;
            default:
                error_ = ErrorAt(TableProblem::MixedEncodings, encoding_.FaultLine());
                error_.otherLine = encoding_.DecidingLine();
        }
        return false;
    }

    bool TakeRecord(size_t line, size_t lastLine, std::span<const std::string> cells) {
        const unsigned codePage = encoding_.CodePageThrough(lastLine);
        if (codePage != kUtf8CodePage && HasHighBytes(cells)) {
            const std::optional<std::string> utf8 = TableTextAsUtf8(JoinedCells(cells), codePage);
            if (!utf8) {
                error_ = ErrorAt(
                    named_ ? TableProblem::NotInNamedCodePage : TableProblem::NotInAnyCodePage,
                    line);
                return false;
            }
            SplitCells(*utf8, decoded_);
            return builder_.Add(line, decoded_, error_);
        }
        return builder_.Add(line, cells, error_);
    }

    bool named_;
    TableEncodingCheck encoding_;
    CsvReader csv_;
    CampaignBuilder builder_;
    std::vector<std::string> decoded_;
    TableError error_;
};

CampaignLoader::CampaignLoader(TableEncodingChoice encoding)
    : reading_(std::make_unique<Reading>(encoding)) {}

CampaignLoader::~CampaignLoader() = default;

bool CampaignLoader::Read(std::string_view bytes) {
    return reading_->Read(bytes);
}

LoadedTable CampaignLoader::Finish() {
    return reading_->Finish();
}

LoadedTable LoadCampaignTable(std::string_view bytes, TableEncodingChoice encoding) {
    CampaignLoader loader(encoding);
    loader.Read(bytes);
    return loader.Finish();
}

LoadedTable LoadCampaignTable(FileSystem& files, const std::wstring& path,
                              TableEncodingChoice encoding) {
    const auto unreadable = [](const FileStatus& status) {
        LoadedTable loaded;
        loaded.error.problem = TableProblem::Unreadable;
        loaded.error.systemError = status.error;
        return loaded;
    };
    FileStatus status;
    const std::unique_ptr<OpenedFile> file = files.Open(path, OpenMode::ReadShared, status);
    if (!file)
        return unreadable(status);
    CampaignLoader loader(encoding);
    std::string block(kReadBlock, '\0');
    for (;;) {
        size_t got = 0;
        status = file->Read(block.data(), block.size(), got);
        if (!status)
            return unreadable(status);
        if (got == 0 || !loader.Read(std::string_view(block.data(), got)))
            break;
    }
    return loader.Finish();
}
