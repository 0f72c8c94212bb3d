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

struct Position {
    double x, y, z;
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
Position MedianPosition(const std::vector<Position>& positions) {
    std::vector<double> x, y, z;
    for (const Position& p : positions) {
        x.push_back(p.x);
        y.push_back(p.y);
        z.push_back(p.z);
    }
    return {Median(x), Median(y), Median(z)};
}

double Spread(const std::vector<Position>& positions) {
    double widest = 0;
    for (size_t i = 0; i < positions.size(); ++i) {
        for (size_t j = i + 1; j < positions.size(); ++j)
            widest = std::max(widest, Distance(positions[i], positions[j]));
    }
    return widest;
}

void AddStationSpread(const std::vector<const CheckedFile*>& station,
                      std::vector<Finding>& findings) {
    std::vector<Position> positions;
    for (const CheckedFile* file : station)
        positions.push_back(PositionOf(file->header));
    if (positions.size() < 2 || Spread(positions) <= kStationSpreadLimit)
        return;
    const Position median = MedianPosition(positions);
    for (size_t i = 0; i < station.size(); ++i) {
        const double away = Distance(positions[i], median);
        if (away <= kStationSpreadLimit / 2)
            continue;
        Finding finding = FindingOn(station[i]->path, FindingCode::StationSpread);
        finding.value = station[i]->header.stationName;
        finding.metres = away;
        finding.fileCount = station.size();
        findings.push_back(std::move(finding));
    }
}

void AddReceiverMismatch(const std::vector<const CheckedFile*>& receiver,
                         std::vector<Finding>& findings) {
    std::map<std::wstring, size_t> filesByType;
    for (const CheckedFile* file : receiver)
        ++filesByType[file->header.receiverType];
    if (filesByType.size() < 2)
        return;
    size_t most = 0;
    size_t holdingMost = 0;
    for (const auto& [type, count] : filesByType) {
        holdingMost = count > most ? 1 : count == most ? holdingMost + 1 : holdingMost;
        most = std::max(most, count);
    }
    for (const CheckedFile* file : receiver) {
        const std::wstring& type = file->header.receiverType;
        if (holdingMost == 1 && filesByType[type] == most)
            continue;
        Finding finding = FindingOn(file->path, FindingCode::ReceiverMismatch, "receiver-type");
        finding.value = type;
        finding.other = file->header.receiverNumber;
        for (const auto& [other, count] : filesByType) {
            if (other != type)
                finding.otherTypes.emplace_back(other, count);
        }
        findings.push_back(std::move(finding));
    }
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
    const std::wstring shown =
        catalogue.count > 0 ? catalogue.entries[header.antennaTypeIndex].name : std::wstring();
    if (!header.antennaTypeName.empty() && shown != header.antennaTypeName)
        add(FindingCode::UnknownAntenna, "antenna-type", header.antennaTypeName, shown);
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

std::vector<Finding> CampaignFindings(const std::vector<CheckedFile>& files) {
    std::map<std::wstring, std::vector<const CheckedFile*>> stations;
    std::map<std::wstring, std::vector<const CheckedFile*>> receivers;
    for (const CheckedFile& file : files) {
        if (!file.Readable())
            continue;
        if (!IsMissing(PositionOf(file.header)))
            stations[file.header.stationName].push_back(&file);
        if (!file.header.receiverNumber.empty())
            receivers[file.header.receiverNumber].push_back(&file);
    }
    std::vector<Finding> findings;
    for (const auto& [name, station] : stations)
        AddStationSpread(station, findings);
    for (const auto& [number, receiver] : receivers)
        AddReceiverMismatch(receiver, findings);
    return findings;
}

Finding UnmatchedRowFinding(int row, const std::wstring& logPath) {
    Finding finding = FindingOn(logPath, FindingCode::LogMissing);
    finding.row = row;
    return finding;
}

std::vector<Finding> LogFindings(const std::vector<CheckedFile>& files, CampaignMatch& log,
                                 const AntennaCatalogue& catalogue, unsigned codePage) {
    std::vector<Finding> findings;
    for (const CheckedFile& file : files) {
        if (!file.Readable()) {
            log.MatchUnreadFile(file.path);
            continue;
        }
        const int row = log.MatchFile(file.path, file.header.stationName);
        if (row < 0) {
            findings.push_back(FindingOn(file.path, FindingCode::LogMissing));
            continue;
        }
        for (const FieldValue& cell : log.ChangingCells(row, file.header, catalogue, codePage)) {
            Finding finding = FindingOn(file.path, FindingCode::LogMismatch, cell.field->name);
            finding.value = cell.field->print(file.header, codePage);
            finding.other = cell.text;
            finding.row = row;
            findings.push_back(std::move(finding));
        }
    }
    return findings;
}
