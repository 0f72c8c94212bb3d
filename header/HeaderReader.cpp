#include "header/HeaderReader.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "header/AsciiText.h"
#include "header/CLocaleNumbers.h"
#include "header/HeaderKeys.h"
#include "header/HeaderText.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace {

constexpr size_t kMaxDateLength = 15;

ReaderStep MessageStep(ReaderMessage message, std::wstring path = {}) {
    return {ReaderStep::Kind::Message, std::move(path), message};
}

// One run of the reader: the header text and where the last key found ends.
class HeaderReading {
  public:
    HeaderReading(HeaderText header, unsigned codePage)
        : header_(std::move(header)), codePage_(codePage) {}

    const HeaderText& Header() const { return header_; }

    // Finds the key and, when it is there, moves the end of the last key found past its line.
    std::optional<HeaderLine> Find(std::string_view key) {
        std::optional<HeaderLine> line = FindHeaderKey(header_, key);
        if (line)
            lastKeyEnd_ = line->end;
        return line;
    }

    std::optional<std::string_view> FindValue(std::string_view key) {
        const std::optional<HeaderLine> line = Find(key);
        if (!line)
            return std::nullopt;
        return line->text.substr(key.size());
    }

    // An empty or missing value leaves the field alone.
    bool ReadText(std::string_view key, std::wstring& field) {
        const std::optional<std::string_view> value = FindValue(key);
        if (!value)
            return false;
        const std::string_view text = CutLineEnds(*value);
        if (text.empty())
            return false;
        field = AnsiToWide(text, codePage_);
        return true;
    }

    template <typename T, typename Scan>
    void ReadNumber(std::string_view key, T& field, Scan scan) {
        const std::optional<std::string_view> value = FindValue(key);
        if (!value)
            return;
        if (const auto number = scan(*value))
            field = *number;
    }

    std::wstring Wide(std::string_view text) const { return AnsiToWide(text, codePage_); }
    void SetLastKeyEnd(size_t end) { lastKeyEnd_ = end; }
    size_t LastKeyEnd() const { return lastKeyEnd_; }

  private:
    HeaderText header_;
    unsigned codePage_;
    size_t lastKeyEnd_ = 0;
};

// The date's line end is dropped the way older headers expect: a CR just before the last byte
// and an LF as the last byte.
std::string DateTextOf(std::string_view value) {
    std::string date(value);
    if (date.size() >= 2 && date[date.size() - 2] == '\r')
        date[date.size() - 2] = '\0';
    if (!date.empty() && date.back() == '\n')
        date.back() = '\0';
    return date.substr(0, date.find('\0'));
}

bool IsDigitOrSpace(char c) {
    return IsAsciiDigit(c) || c == ' ';
}

void ReadAntennaType(HeaderReading& reading, const AntennaCatalogue& catalogue,
                     int legacyAntennaCount, StationHeader& header) {
    const std::optional<std::string_view> value = reading.FindValue(kAntTypeKey);
    if (!value) {
        header.antennaTypeIndex = 0;
    } else if (!value->empty() && IsDigitOrSpace(value->front())) {
        header.antennaTypeIndex = ScanInt(*value).value_or(header.antennaTypeIndex);
        const int legacyCount =
            std::clamp(legacyAntennaCount, 0, static_cast<int>(LegacyAntennaTable.size()));
        if (header.antennaTypeIndex < 0 || header.antennaTypeIndex >= legacyCount)
            header.antennaTypeIndex = 0;
        const int index =
            catalogue.IndexOfName(std::wstring(LegacyAntennaTable[header.antennaTypeIndex]));
        if (index >= 0)
            header.antennaTypeIndex = index;
    } else {
        header.antennaTypeIndex = ScanInt(*value).value_or(header.antennaTypeIndex);
        header.antennaTypeName = reading.Wide(CutLineEnds(*value));
        const int index = catalogue.IndexOfName(header.antennaTypeName);
        if (index >= 0)
            header.antennaTypeIndex = index;
    }
    if (header.antennaTypeIndex < 0 || header.antennaTypeIndex >= catalogue.count)
        header.antennaTypeIndex = 0;
}

void ReadMeasureTo(HeaderReading& reading, StationHeader& header) {
    std::optional<std::string_view> value = reading.FindValue(kMeasureToKey);
    if (!value)
        value = reading.FindValue(kMeasuredToKey);
    if (!value) {
        header.measureTo = 0;
        return;
    }
    header.measureTo = ScanInt(*value).value_or(header.measureTo);
    if (header.measureTo < 0 || header.measureTo > 3)
        header.measureTo = 0;
}

// "ANT TYPE:" is the later, more specific source; among catalogue entries of the same name the
// last one is taken.
void ReadAntennaTypeName(HeaderReading& reading, const AntennaCatalogue& catalogue,
                         StationHeader& header) {
    if (!reading.ReadText(kAntTypeNameKey, header.antennaTypeName))
        return;
    if (const int index = catalogue.LastIndexOfName(header.antennaTypeName); index >= 0)
        header.antennaTypeIndex = index;
}

// Everything from "Model:" on: no key is required any more.
void ReadOptionalFields(HeaderReading& reading, const AntennaCatalogue& catalogue,
                        const HeaderReadOptions& options, FileNameParts& nameParts,
                        StationHeader& header) {
    if (const auto model = reading.FindValue(kModelKey))
        header.receiverType = reading.Wide(CutLineEnds(*model));
    header.antennaHeight = 0;
    reading.ReadNumber(kAntHighKey, header.antennaHeight, ScanFloat);
    header.heightOffset = 0;
    reading.ReadNumber(kHeightOffsetKey, header.heightOffset, ScanFloat);
    ReadAntennaType(reading, catalogue, options.legacyAntennaCount, header);
    ReadMeasureTo(reading, header);

    header.stationName = nameParts.stationName;
    header.nameParts.stationName = std::move(nameParts.stationName);
    header.nameParts.suffix = std::move(nameParts.suffix);
    const std::string height = FormatFixed(header.antennaHeight, 3);
    header.antennaHeightText.assign(height.begin(), height.end());

    reading.ReadNumber(kXKey, header.approxX, ScanDouble);
    reading.ReadNumber(kYKey, header.approxY, ScanDouble);
    reading.ReadNumber(kZKey, header.approxZ, ScanDouble);
    reading.ReadText(kMarkerNameKey, header.stationName);
    reading.ReadText(kMarkerNumberKey, header.stationCode);
    reading.ReadText(kRecNumberKey, header.receiverNumber);
    reading.ReadText(kRecTypeKey, header.receiverType);
    reading.ReadText(kRecVersKey, header.receiverVersion);
    reading.ReadText(kAntNumberKey, header.antennaNumber);
    ReadAntennaTypeName(reading, catalogue, header);
    reading.ReadNumber(kIntervalKey, header.interval, ScanDouble);
    reading.ReadText(kTimeOfFirstObsKey, header.timeOfFirstObs);
    reading.ReadNumber(kLeapSecondsKey, header.leapSeconds, ScanInt);
    // A save that shrinks a header in place pads this last line to the old region's end; the
    // padding belongs to the header, however long the line.
    if (const std::optional<HeaderLine> leapLine = FindHeaderKey(reading.Header(), kLeapSecondsKey);
        leapLine && leapLine->end == reading.LastKeyEnd())
        reading.SetLastKeyEnd(reading.Header().WholeLineFrom(*leapLine).end);
}

// Takes the header and reports why it stopped; false when the header is not complete.
bool ReadHeaderFields(HeaderReading& reading, const AntennaCatalogue& catalogue,
                      const HeaderReadOptions& options, FileNameParts& nameParts,
                      StationHeader& header, ReaderReport& report) {
    const std::optional<HeaderLine> versionLine = FindHeaderKey(reading.Header(), kVersionKey);
    if (!versionLine) {
        report.steps.push_back(MessageStep(ReaderMessage::NoVersion));
        return false;
    }
    header.version = LeadingNumber(versionLine->text.substr(kVersionKey.size()));

    const std::optional<HeaderLine> receiverLine = reading.Find(kReceiverIdKey);
    if (!receiverLine) {
        report.steps.push_back(MessageStep(ReaderMessage::NoReceiverId));
        return false;
    }
    // The whole identifier is kept, however long, so that a save writes it back unchanged.
    const HeaderLine receiverIdLine = reading.Header().WholeLineFrom(*receiverLine);
    reading.SetLastKeyEnd(receiverIdLine.end);
    header.receiverIdText =
        std::string(CutLineEnds(receiverIdLine.text.substr(kReceiverIdKey.size())));
    header.receiverNumber = reading.Wide(header.receiverIdText);

    header.dateText.clear();
    const std::optional<HeaderLine> dateLine = reading.Find(kDateKey);
    if (!dateLine) {
        report.steps.push_back(MessageStep(ReaderMessage::NoDate));
    } else {
        const std::string_view value = dateLine->text.substr(kDateKey.size());
        if (value.size() > kMaxDateLength) {
            report.steps.push_back(MessageStep(ReaderMessage::DateTooLong));
            return false;
        }
        header.dateText = DateTextOf(value);
    }

    ReadOptionalFields(reading, catalogue, options, nameParts, header);
    return true;
}

// Each thread's block for the bytes read, kept from one read to the next: a check reads thousands
// of files, and a new block would be allocated and cleared for each.
std::string& ReadBlock() {
    thread_local std::string block;
    return block;
}

// Reads up to `size` bytes from the file into the block at `offset`, until the end of the file;
// how many, or nothing when the read fails.
std::optional<size_t> ReadInto(OpenedFile& file, size_t offset, size_t size) {
    std::string& block = ReadBlock();
    if (block.size() < offset + size)
        block.resize(offset + size);
    size_t total = 0;
    while (total < size) {
        size_t got = 0;
        if (!file.Read(block.data() + offset + total, size - total, got))
            return std::nullopt;
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

// Headers are short: one block read finds the end of almost all of them; only a header that
// runs to the end of that block needs the longer read. The file is opened once, so that the
// bytes and the identity that a later save checks belong to one file. The header text found in
// the first block is what the reading goes on with, so that the lines are split once.
std::optional<HeaderText> ReadHeaderBytes(const std::wstring& path, std::string_view& bytes,
                                          FileFacts* facts) {
    constexpr size_t kFirstRead = 4096;
    FileStatus status;
    const std::unique_ptr<OpenedFile> file =
        SystemFileSystem().Open(path, OpenMode::ReadShared, status);
    if (!file || (facts != nullptr && !file->Facts(*facts)))
        return std::nullopt;
    const std::optional<size_t> first = ReadInto(*file, 0, kFirstRead);
    if (!first)
        return std::nullopt;
    bytes = std::string_view(ReadBlock()).substr(0, *first);
    if (HeaderText header(bytes); *first < kFirstRead || header.End() < kFirstRead)
        return header;
    const std::optional<size_t> rest =
        ReadInto(*file, kFirstRead, HeaderText::kMaxLength - kFirstRead);
    if (!rest)
        return std::nullopt;
    bytes = std::string_view(ReadBlock()).substr(0, kFirstRead + *rest);
    return HeaderText(bytes);
}

}  // namespace

std::string_view CutLineEnds(std::string_view text) {
    return text.substr(0, std::min(text.find('\r'), text.find('\n')));
}

std::wstring AnsiToWide(std::string_view text, unsigned codePage) {
    return MultiByteToUnicodeString(text, codePage);
}

std::vector<ReaderMessage> ReaderReport::Messages() const {
    std::vector<ReaderMessage> messages;
    for (const ReaderStep& step : steps) {
        if (step.kind == ReaderStep::Kind::Message)
            messages.push_back(step.message);
    }
    return messages;
}

ReaderReport ReadStationHeader(const std::wstring& path, const AntennaCatalogue& catalogue,
                               StationHeader& header, const HeaderReadOptions& options) {
    ReaderReport report;
    if (path.empty())
        return report;
    // The path, the record and the time of the first observation, or the path and a message.
    report.steps.reserve(3);
    header.headerRegionLength = StationHeader::kMinimumRegionLength;
    header.snapshot = {};
    report.steps.push_back({ReaderStep::Kind::Path, path});
    header.headerLoaded = true;

    FileNameParts nameParts = SplitRawFilePath(path);
    header.nameParts.directory = std::move(nameParts.directory);

    std::string_view bytes;
    FileFacts facts;
    std::optional<HeaderText> text =
        ReadHeaderBytes(path, bytes, options.forSave ? &facts : nullptr);
    if (!text) {
        header.headerLoaded = false;
        report.steps.push_back(MessageStep(ReaderMessage::CannotOpen, path));
        return report;
    }
    HeaderReading reading(std::move(*text),
                          options.codePage != 0 ? options.codePage : AnsiCodePage());
    if (!ReadHeaderFields(reading, catalogue, options, nameParts, header, report)) {
        header.headerLoaded = false;
        return report;
    }
    report.steps.push_back({ReaderStep::Kind::Record, {}});
    report.steps.push_back({ReaderStep::Kind::TimeOfFirstObs, header.timeOfFirstObs});

    // A short header followed at once by binary data must not take data bytes into its region.
    const size_t textRegion =
        std::min<size_t>(StationHeader::kMinimumRegionLength, reading.Header().End());
    header.headerRegionLength = static_cast<int32_t>(std::max(reading.LastKeyEnd(), textRegion));
    if (options.forSave || options.keepRegion)
        header.snapshot = {
            facts.identity,
            std::string(bytes.substr(0, static_cast<size_t>(header.headerRegionLength))),
            options.forSave ? facts.size : bytes.size()};
    return report;
}
