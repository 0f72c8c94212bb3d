#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "campaign/CampaignMatch.h"
#include "campaign/FileList.h"
#include "campaign/TextIndex.h"
#include "header/HeaderReader.h"
#include "header/StationHeader.h"

// What `check` can find, in the order it reports a file's findings.
enum class FindingCode {
    Unreadable,
    NameMismatch,
    UnknownAntenna,
    HeightMissing,
    HeightRange,
    MeasureToUnknown,
    CoordinatesMissing,
    StationSpread,
    ReceiverMismatch,
    LogMismatch,
    LogMissing,
};

// The code as it is printed: "name-mismatch".
std::string_view FindingCodeName(FindingCode code);

// What a finding names besides its file and field, by code:
// - unreadable: `failure`;
// - name-mismatch: the header's station (`value`) and the file name's (`other`);
// - unknown-antenna: the header's antenna (`value`) and the one the editor would show (`other`);
// - height-range: the height as the editor shows it (`value`);
// - station-spread: `metres` from the median position of the `fileCount` files of the station
//   `value`;
// - receiver-mismatch: the receiver type here (`value`) of the receiver `other`, and the
//   receiver's other types with the number of files that have each (`otherTypes`);
// - log-mismatch: the file's value (`value`) and the field log's (`other`) in `row`;
// - log-missing: the `row` that matches no file, or -1 for a file that no row is for.
struct Finding {
    // The raw file, or the field log for a row that matches no file.
    std::wstring file;
    FindingCode code;
    // The field-table name of the field concerned; empty when no one field is.
    std::string_view field;
    std::wstring value;
    std::wstring other;
    double metres = 0;
    size_t fileCount = 0;
    std::vector<std::pair<std::wstring, size_t>> otherTypes;
    int row = -1;
    ReadFailure failure;
};

// A raw file as it was read: its record, or why the read stopped.
struct CheckedFile {
    std::wstring path;
    StationHeader header;
    std::optional<ReadFailure> failure;

    bool Readable() const { return !failure; }
};

// A station's files whose positions lie further apart than this, in metres, are suspect.
constexpr double kStationSpreadLimit = 100;

// What one file shows by itself.
std::vector<Finding> FileFindings(const CheckedFile& file, const AntennaCatalogue& catalogue);

// What check would find in the fields a save writes, on the header as the save will write it:
// the findings of FileFindings that concern one of `fields` (coordinates-missing concerns x, y
// and z). The save renames the file after its station, so the names cannot disagree then.
std::vector<Finding> WrittenFieldFindings(const std::wstring& path, const StationHeader& written,
                                          const AntennaCatalogue& catalogue,
                                          std::span<const std::string_view> fields);

// What the files of a campaign show together, taken one file at a time as they are read: of each
// file only its number, position, station and receiver are kept, in a few bytes each, so that a
// campaign of any size is never held whole. Of a station whose files lie more than
// kStationSpreadLimit apart, each file more than half that from the station's median position is
// reported (of two files, both). Of a receiver number with several receiver types, the files
// whose type is not the one most of them have are reported (all of them when no type has most).
class CampaignFindings {
  public:
    struct Position {
        double x, y, z;
    };
    // Room for a campaign of `files` files.
    explicit CampaignFindings(size_t files = 0);
    // The file numbered `number`, counting from 0 in the order of the campaign.
    void Add(size_t number, const CheckedFile& file);
    // `paths` holds each file's path at its number.
    std::vector<Finding> Findings(const std::vector<std::wstring>& paths) const;
    std::vector<Finding> Findings(const FileList& paths) const;

  private:
    // The files from `first` on, up to the next run's, have one receiver number and type.
    struct ReceiverRun {
        uint32_t first;
        uint32_t count;
        uint32_t receiver;
    };
    static constexpr uint32_t kNoReceiver = UINT32_MAX;

    template <typename Paths>
    std::vector<Finding> FindingsOn(const Paths& paths) const;
    template <typename Paths>
    void AddStationSpreads(const Paths& paths, std::vector<Finding>& findings) const;
    std::vector<uint32_t> FilesOfSharedStations() const;
    template <typename Paths>
    void AddReceiverMismatches(const Paths& paths, std::vector<Finding>& findings) const;
    template <typename Paths>
    void AddReceiverMismatch(const std::wstring& receiver,
                             const std::map<std::wstring, uint32_t>& keyOfType,
                             const std::vector<size_t>& filesOf, const Paths& paths,
                             std::vector<Finding>& findings) const;

    static constexpr uint32_t kNoStation = UINT32_MAX;

    // By file number: the file's position, and its station, kNoStation when it has no position.
    std::vector<Position> positions_;
    std::vector<uint32_t> stationOf_;
    TextIndex stations_;
    // Receiver number and type, the number's length first.
    TextIndex receivers_;
    std::vector<ReceiverRun> receiverRuns_;
    std::wstring receiverKey_;
};

// Compares a file with its row of the field log, fields by the field table (numbers by value;
// what a spreadsheet did to number-like text is no difference), and reports a file without a
// row; once every file is compared, the rows left without a file are the log's UnmatchedRows().
std::vector<Finding> LogFindings(const CheckedFile& file, CampaignMatch& log,
                                 const AntennaCatalogue& catalogue, unsigned codePage);

// A row of the field log that matches no file, reported under the log's path.
Finding UnmatchedRowFinding(int row, const std::wstring& logPath);
