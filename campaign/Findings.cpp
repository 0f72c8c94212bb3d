#include "campaign/Findings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "header/FieldTable.h"

namespace {

constexpr std::array<std::string_view, 11> kCodeNames = {
    "unreadable",        "name-mismatch",      "unknown-antenna",     "height-missing",
    "height-range",      "measure-to-unknown", "coordinates-missing", "station-spread",
    "receiver-mismatch", "log-mismatch",       "log-missing"};

constexpr float kHighestAntenna = 5;

Finding FindingOn(const std::wstring& file, FindingCode code, std::string_view field = {}) {
    Finding finding;
    finding.file = file;
    finding.code = code;
    finding.field = field;
    return finding;
}

using Position = CampaignFindings::Position;

// A file of a station that has a position.
struct Located {
    size_t number;
    Position position;
};

Position PositionOf(const StationHeader& header) {
    return {header.approxX, header.approxY, header.approxZ};
}

bool IsMissing(const Position& p) {
    return p.x == 0 && p.y == 0 && p.z == 0;
}

double Distance(const Position& a, const Position& b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Each coordinate's median: one file far away cannot move it.
Position MedianPosition(std::span<const Located> files) {
    std::vector<double> x, y, z;
    for (const Located& file : files) {
        x.push_back(file.position.x);
        y.push_back(file.position.y);
        z.push_back(file.position.z);
    }
    return {Median(x), Median(y), Median(z)};
}

// Whether two of the files lie more than `limit` apart. The farthest file from any one of them
// lies at least half the widest distance away and at most all of it, so that only a station
// whose files lie in between needs every pair of files compared.
bool SpreadBeyond(std::span<const Located> files, double limit) {
    double farthest = 0;
    for (const Located& file : files)
        farthest = std::max(farthest, Distance(files.front().position, file.position));
    if (farthest > limit)
        return true;
    if (2 * farthest <= limit)
        return false;
    for (size_t i = 0; i < files.size(); ++i) {
        for (size_t j = i + 1; j < files.size(); ++j) {
            if (Distance(files[i].position, files[j].position) > limit)
                return true;
        }
    }
    return false;
}

template <typename Paths>
void AddStationSpread(const std::wstring& station, std::span<const Located> files,
                      const Paths& paths, std::vector<Finding>& findings) {
    const Position median = MedianPosition(files);
    for (const Located& file : files) {
        const double away = Distance(file.position, median);
        if (away <= kStationSpreadLimit / 2)
            continue;
        Finding finding = FindingOn(paths[file.number], FindingCode::StationSpread);
        finding.value = station;
        finding.metres = away;
        finding.fileCount = files.size();
        findings.push_back(std::move(finding));
    }
}

// The receiver's number and type as one text, into a buffer that each file reuses. The number's
// length comes first, in two characters of 16 bits, so that any number and type stay apart.
void MakeReceiverKey(const std::wstring& number, const std::wstring& type, std::wstring& key) {
    key.assign(
        {static_cast<wchar_t>(number.size() >> 16), static_cast<wchar_t>(number.size() & 0xFFFF)});
    key += number;
    key += type;
}

std::pair<std::wstring, std::wstring> ReceiverOfKey(const std::wstring& key) {
    const size_t length = static_cast<size_t>(key[0]) << 16 | static_cast<size_t>(key[1]);
    return {key.substr(2, length), key.substr(2 + length)};
}

bool Names(std::span<const std::string_view> fields, std::string_view field) {
    return std::find(fields.begin(), fields.end(), field) != fields.end();
}

bool Concerns(const Finding& finding, std::span<const std::string_view> fields) {
    if (finding.code == FindingCode::CoordinatesMissing)
        return Names(fields, "x") || Names(fields, "y") || Names(fields, "z");
    return !finding.field.empty() && Names(fields, finding.field);
}

}  // namespace

std::string_view FindingCodeName(FindingCode code) {
    return kCodeNames[static_cast<size_t>(code)];
}

std::vector<Finding> FileFindings(const CheckedFile& file, const AntennaCatalogue& catalogue) {
    std::vector<Finding> findings;
    const auto add = [&](FindingCode code, std::string_view field, std::wstring value = {},
                         std::wstring other = {}) {
        Finding finding = FindingOn(file.path, code, field);
        finding.value = std::move(value);
        finding.other = std::move(other);
        findings.push_back(std::move(finding));
    };
    if (!file.Readable()) {
        add(FindingCode::Unreadable, {});
        findings.back().failure = *file.failure;
        return findings;
    }
    const StationHeader& header = file.header;
    if (header.nameParts.stationName != header.stationName)
        add(FindingCode::NameMismatch, "station", header.stationName, header.nameParts.stationName);
    const std::wstring_view shown =
        catalogue.count > 0 ? catalogue.entries[header.antennaTypeIndex].name : std::wstring_view();
    if (!header.antennaTypeName.empty() && shown != header.antennaTypeName)
        add(FindingCode::UnknownAntenna, "antenna-type", header.antennaTypeName,
            std::wstring(shown));
    if (header.antennaHeight == 0)
        add(FindingCode::HeightMissing, "antenna-height");
    else if (header.antennaHeight < 0 || header.antennaHeight > kHighestAntenna)
        add(FindingCode::HeightRange, "antenna-height", header.antennaHeightText);
    if (header.measureTo == 0)
        add(FindingCode::MeasureToUnknown, "measure-to");
    if (IsMissing(PositionOf(header)))
        add(FindingCode::CoordinatesMissing, {});
    return findings;
}

std::vector<Finding> WrittenFieldFindings(const std::wstring& path, const StationHeader& written,
                                          const AntennaCatalogue& catalogue,
                                          std::span<const std::string_view> fields) {
    CheckedFile file{path, written, std::nullopt};
    file.header.nameParts.stationName = written.stationName;
    std::vector<Finding> findings = FileFindings(file, catalogue);
    std::erase_if(findings, [&](const Finding& finding) { return !Concerns(finding, fields); });
    return findings;
}

CampaignFindings::CampaignFindings(size_t files) {
    positions_.reserve(files);
    stationOf_.reserve(files);
}

void CampaignFindings::Add(size_t number, const CheckedFile& file) {
    if (stationOf_.size() <= number) {
        positions_.resize(number + 1);
        stationOf_.resize(number + 1, kNoStation);
    }
    uint32_t receiver = kNoReceiver;
    if (file.Readable()) {
        const StationHeader& header = file.header;
        positions_[number] = PositionOf(header);
        if (!IsMissing(positions_[number]))
            stationOf_[number] = stations_.NumberOf(header.stationName);
        if (!header.receiverNumber.empty()) {
            MakeReceiverKey(header.receiverNumber, header.receiverType, receiverKey_);
            receiver = receivers_.NumberOf(receiverKey_);
        }
    }
    if (!receiverRuns_.empty() && receiverRuns_.back().receiver == receiver &&
        receiverRuns_.back().first + receiverRuns_.back().count == number)
        ++receiverRuns_.back().count;
    else
        receiverRuns_.push_back({static_cast<uint32_t>(number), 1, receiver});
}

// Stations by name, then receiver numbers by number and their types by type, as they were
// reported when each was kept under its name.
template <typename Paths>
std::vector<Finding> CampaignFindings::FindingsOn(const Paths& paths) const {
    std::vector<Finding> findings;
    AddStationSpreads(paths, findings);
    AddReceiverMismatches(paths, findings);
    return findings;
}

// Only the files of stations with more than one file are gathered, by station; the others
// cannot spread.
std::vector<uint32_t> CampaignFindings::FilesOfSharedStations() const {
    std::vector<uint8_t> filesOfStation(stations_.size());
    for (const uint32_t station : stationOf_) {
        if (station != kNoStation && filesOfStation[station] < 2)
            ++filesOfStation[station];
    }
    std::vector<uint32_t> shared;
    for (uint32_t number = 0; number < stationOf_.size(); ++number) {
        if (stationOf_[number] != kNoStation && filesOfStation[stationOf_[number]] == 2)
            shared.push_back(number);
    }
    std::stable_sort(shared.begin(), shared.end(),
                     [&](uint32_t a, uint32_t b) { return stationOf_[a] < stationOf_[b]; });
    return shared;
}

template <typename Paths>
void CampaignFindings::AddStationSpreads(const Paths& paths, std::vector<Finding>& findings) const {
    const std::vector<uint32_t> shared = FilesOfSharedStations();
    std::vector<std::pair<std::wstring, std::vector<Located>>> spread;
    std::vector<Located> files;
    for (size_t start = 0; start < shared.size();) {
        const uint32_t station = stationOf_[shared[start]];
        files.clear();
        size_t end = start;
        for (; end < shared.size() && stationOf_[shared[end]] == station; ++end)
            files.push_back({shared[end], positions_[shared[end]]});
        if (SpreadBeyond(files, kStationSpreadLimit))
            spread.emplace_back(stations_.Text(station), files);
        start = end;
    }
    std::sort(spread.begin(), spread.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [station, stationFiles] : spread)
        AddStationSpread(station, stationFiles, paths, findings);
}

template <typename Paths>
void CampaignFindings::AddReceiverMismatches(const Paths& paths,
                                             std::vector<Finding>& findings) const {
    std::vector<size_t> filesOf(receivers_.size());
    for (const ReceiverRun& run : receiverRuns_) {
        if (run.receiver != kNoReceiver)
            filesOf[run.receiver] += run.count;
    }
    // Receiver number, then receiver type, then the receiver's key.
    std::map<std::wstring, std::map<std::wstring, uint32_t>> types;
    for (uint32_t key = 0; key < receivers_.size(); ++key) {
        auto [number, type] = ReceiverOfKey(receivers_.Text(key));
        types[std::move(number)].emplace(std::move(type), key);
    }
    for (const auto& [receiver, keyOfType] : types) {
        if (keyOfType.size() >= 2)
            AddReceiverMismatch(receiver, keyOfType, filesOf, paths, findings);
    }
}

// The files of the receiver's types but the one most of them have, or of all its types when no
// type has most.
template <typename Paths>
void CampaignFindings::AddReceiverMismatch(const std::wstring& receiver,
                                           const std::map<std::wstring, uint32_t>& keyOfType,
                                           const std::vector<size_t>& filesOf, const Paths& paths,
                                           std::vector<Finding>& findings) const {
    size_t most = 0;
    size_t holdingMost = 0;
    for (const auto& [type, key] : keyOfType) {
        const size_t count = filesOf[key];
        holdingMost = count > most ? 1 : count == most ? holdingMost + 1 : holdingMost;
        most = std::max(most, count);
    }
    for (const auto& [type, key] : keyOfType) {
        if (holdingMost == 1 && filesOf[key] == most)
            continue;
        Finding finding = FindingOn({}, FindingCode::ReceiverMismatch, "receiver-type");
        finding.value = type;
        finding.other = receiver;
        for (const auto& [other, otherKey] : keyOfType) {
            if (other != type)
                finding.otherTypes.emplace_back(other, filesOf[otherKey]);
        }
        for (const ReceiverRun& run : receiverRuns_) {
            if (run.receiver != key)
                continue;
            for (uint32_t number = run.first; number < run.first + run.count; ++number) {
                finding.file = paths[number];
                findings.push_back(finding);
            }
        }
    }
}

std::vector<Finding> CampaignFindings::Findings(const std::vector<std::wstring>& paths) const {
    return FindingsOn(paths);
}

std::vector<Finding> CampaignFindings::Findings(const FileList& paths) const {
    return FindingsOn(paths);
}

Finding UnmatchedRowFinding(int row, const std::wstring& logPath) {
    Finding finding = FindingOn(logPath, FindingCode::LogMissing);
    finding.row = row;
    return finding;
}

std::vector<Finding> LogFindings(const CheckedFile& file, CampaignMatch& log,
                                 const AntennaCatalogue& catalogue, unsigned codePage) {
    std::vector<Finding> findings;
    if (!file.Readable()) {
        log.MatchUnreadFile(file.path);
        return findings;
    }
    const int row = log.MatchFile(file.path, file.header.stationName);
    if (row < 0) {
        findings.push_back(FindingOn(file.path, FindingCode::LogMissing));
        return findings;
    }
    for (const FieldValue& cell : log.ChangingCells(row, file.header, catalogue, codePage)) {
        Finding finding = FindingOn(file.path, FindingCode::LogMismatch, cell.field->name);
        finding.value = cell.field->print(file.header, codePage);
        finding.other = cell.text;
        finding.row = row;
        findings.push_back(std::move(finding));
    }
    return findings;
}
