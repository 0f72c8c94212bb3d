#include "header/FieldTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "header/AsciiText.h"
#include "header/CLocaleNumbers.h"
#include "header/MeasureToChoices.h"
#include "platform/CodePage.h"

namespace {

using Header = StationHeader;

std::string Utf8(std::wstring_view text) {
    return UnicodeStringToMultiByte(text, kUtf8CodePage);
}

std::string Quoted(std::wstring_view text) {
    std::string quoted(1, '"');
    quoted += Utf8(text);
    quoted += '"';
    return quoted;
}

// A number typed by a user must be a plain decimal number as a whole, such as "-2148744.1234"
// or "1.5e3", not merely begin with one.
// A number's text in the header, short enough for its line to read back as one piece.
constexpr size_t kLongestWrittenNumber = 40;
constexpr size_t kLongestHeightText = 15;

std::optional<double> WholeNumber(std::wstring_view text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        ++i;
    size_t digits = 0;
    for (; i < text.size() && IsAsciiDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == L'.') {
        for (++i; i < text.size() && IsAsciiDigit(text[i]); ++i)
            ++digits;
    }
    if (digits > 0 && i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        size_t exponent = i + 1;
        if (exponent < text.size() && (text[exponent] == L'+' || text[exponent] == L'-'))
            ++exponent;
        if (exponent < text.size() && IsAsciiDigit(text[exponent])) {
            for (i = exponent; i < text.size() && IsAsciiDigit(text[i]);)
                ++i;
        }
    }
    if (digits == 0 || i != text.size())
        return std::nullopt;
    return ScanWideDouble(text);
}

std::wstring Lower(std::wstring_view text) {
    std::wstring lower(text);
    for (wchar_t& c : lower) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return lower;
}

size_t EditDistance(std::wstring_view a, std::wstring_view b) {
    std::vector<size_t> previous(b.size() + 1);
    std::vector<size_t> current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

std::string ClosestNames(std::wstring_view name, const AntennaCatalogue& catalogue) {
    std::vector<std::pair<size_t, int>> ranked;
    const std::wstring wanted = Lower(name);
    for (int i = 0; i < catalogue.count; ++i)
        ranked.emplace_back(EditDistance(wanted, Lower(catalogue.entries[i].name)), i);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string names;
    for (size_t i = 0; i < ranked.size() && i < 3; ++i)
        names += (i == 0 ? "" : ", ") + Quoted(catalogue.entries[ranked[i].second].name);
    return names;
}

template <std::wstring Header::*member>
std::wstring PrintText(const Header& header, unsigned) {
    return header.*member;
}

// The receiver identifier and the date keep the file's bytes.
template <std::string Header::*member>
std::wstring PrintBytes(const Header& header, unsigned codePage) {
    return MultiByteToUnicodeString(header.*member, codePage);
}

template <double Header::*member>
std::wstring PrintShown(const Header& header, unsigned) {
    return WidenAscii(FormatGeneral(header.*member, kShownSignificantDigits));
}

template <float Header::*member>
std::wstring PrintShortest(const Header& header, unsigned) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, header.*member);
    return WidenAscii(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

template <int32_t Header::*member>
std::wstring PrintInt(const Header& header, unsigned) {
    return WidenAscii(FormatInt(header.*member));
}

template <std::wstring Header::*member>
std::optional<std::string> TakeText(Header& header, std::wstring_view value,
                                    const AntennaCatalogue&) {
    header.*member = value;
    return std::nullopt;
}

template <double Header::*member>
std::optional<std::string> TakeNumber(Header& header, std::wstring_view value,
                                      const AntennaCatalogue&) {
    const std::optional<double> number = WholeNumber(value);
    if (!number)
        return "needs a number, not " + Quoted(value);
    // Its header line must read back whole, as one piece.
    if (!std::isfinite(*number) || FormatFixed(*number, 4).size() > kLongestWrittenNumber)
        return Quoted(value) + " is out of range";
    header.*member = *number;
    return std::nullopt;
}

// The save itself rounds the height to millimetres, from the text, as the editor's does.
std::optional<std::string> TakeAntennaHeight(Header& header, std::wstring_view value,
                                             const AntennaCatalogue&) {
    const std::optional<double> metres = WholeNumber(value);
    if (!metres)
        return "needs a number of metres, not " + Quoted(value);
    const auto height = static_cast<float>(*metres);
    if (!std::isfinite(height) || FormatFixed(height, 3).size() > kLongestWrittenNumber)
        return Quoted(value) + " is out of range";
    header.antennaHeightText = value;
    // The editor reads at most 15 bytes of the text; a longer one, as a spreadsheet writes it,
    // is given as the shortest text of the same height.
    if (value.size() > kLongestHeightText) {
        char buffer[32];
        const auto shortest = std::to_chars(buffer, buffer + sizeof buffer, height);
        header.antennaHeightText =
            WidenAscii(std::string_view(buffer, static_cast<size_t>(shortest.ptr - buffer)));
    }
    return std::nullopt;
}

std::optional<std::string> TakeAntennaType(Header& header, std::wstring_view value,
                                           const AntennaCatalogue& catalogue) {
    const int index = catalogue.IndexOfName(std::wstring(value));
    if (index < 0)
        return Quoted(value) +
               " is not in the antenna catalogue; closest: " + ClosestNames(value, catalogue);
    header.antennaTypeName = value;
    header.antennaTypeIndex = index;
    return std::nullopt;
}

std::optional<std::string> TakeMeasureTo(Header& header, std::wstring_view value,
                                         const AntennaCatalogue&) {
    for (size_t code = 0; code < MeasureToChoices.size(); ++code) {
        if (value == MeasureToChoices[code] || value == std::to_wstring(code)) {
            header.measureTo = static_cast<int32_t>(code);
            return std::nullopt;
        }
    }
    std::string labels;
    for (std::wstring_view label : MeasureToChoices)
        labels += (labels.empty() ? "" : ", ") + Utf8(label);
    return "is 0, 1, 2, 3 or one of the labels " + labels;
}

constexpr FieldKind kText = FieldKind::Text;
constexpr FieldKind kNumber = FieldKind::Number;

constexpr RecordField kFields[] = {
    {"station",
     "stationName",
     {"MARKER NAME:"},
     "station name; the file is renamed after it",
     kText,
     PrintText<&Header::stationName>,
     TakeText<&Header::stationName>},
    {"station-code",
     "stationCode",
     {"MARKER NUMBER:"},
     "station code",
     kText,
     PrintText<&Header::stationCode>,
     TakeText<&Header::stationCode>},
    {"antenna-height",
     "antennaHeight",
     {"AntHigh:"},
     "antenna height in metres, kept to mm",
     kNumber,
     PrintText<&Header::antennaHeightText>,
     TakeAntennaHeight},
    {"antenna-type",
     "antennaTypeName",
     {"AntType:", "ANT TYPE:"},
     "antenna type, a name of the antenna catalogue",
     kText,
     PrintText<&Header::antennaTypeName>,
     TakeAntennaType},
    {"antenna-number",
     "antennaNumber",
     {"ANT #:"},
     "antenna number",
     kText,
     PrintText<&Header::antennaNumber>,
     TakeText<&Header::antennaNumber>},
    {"measure-to",
     "measureTo",
     {"MeasureTo:"},
     "what the height is measured to: 0..3 or label",
     kNumber,
     PrintInt<&Header::measureTo>,
     TakeMeasureTo},
    {"receiver-number",
     "receiverNumber",
     {"REC #:"},
     "receiver number",
     kText,
     PrintText<&Header::receiverNumber>,
     TakeText<&Header::receiverNumber>},
    {"receiver-type",
     "receiverType",
     {"Model:", "REC TYPE:"},
     "receiver type",
     kText,
     PrintText<&Header::receiverType>,
     TakeText<&Header::receiverType>},
    {"receiver-version",
     "receiverVersion",
     {"REC VERS:"},
     "receiver version",
     kText,
     PrintText<&Header::receiverVersion>,
     TakeText<&Header::receiverVersion>},
    {"x",
     "approxX",
     {"X:"},
     "approximate coordinate X",
     kNumber,
     PrintShown<&Header::approxX>,
     TakeNumber<&Header::approxX>},
    {"y",
     "approxY",
     {"Y:"},
     "approximate coordinate Y",
     kNumber,
     PrintShown<&Header::approxY>,
     TakeNumber<&Header::approxY>},
    {"z",
     "approxZ",
     {"Z:"},
     "approximate coordinate Z",
     kNumber,
     PrintShown<&Header::approxZ>,
     TakeNumber<&Header::approxZ>},
    {"interval",
     "interval",
     {"INTERVAL:"},
     "observation interval in seconds",
     kNumber,
     PrintShown<&Header::interval>,
     nullptr},
    {"leap-seconds",
     "leapSeconds",
     {"LEAP SECONDS:"},
     "leap seconds",
     kNumber,
     PrintInt<&Header::leapSeconds>,
     nullptr},
    {"time-of-first-obs",
     "timeOfFirstObs",
     {"TIME OF FIRST OBS:"},
     "time of the first observation",
     kText,
     PrintText<&Header::timeOfFirstObs>,
     nullptr},
    {"date",
     "dateText",
     {"Date:"},
     "recording date as the file holds it",
     kText,
     PrintBytes<&Header::dateText>,
     nullptr},
    {"receiver-id",
     "receiverIdText",
     {"ReceiverID:"},
     "receiver identifier as the file holds it",
     kText,
     PrintBytes<&Header::receiverIdText>,
     nullptr},
    {"version",
     "version",
     {"ver"},
     "header format version",
     kNumber,
     PrintShown<&Header::version>,
     nullptr},
    {"height-offset",
     "heightOffset",
     {"HEIGHT OFFSET:"},
     "height offset",
     kNumber,
     PrintShortest<&Header::heightOffset>,
     nullptr},
    {"antenna-type-index",
     "antennaTypeIndex",
     {"AntType:", "ANT TYPE:"},
     "position of the antenna type in the catalogue",
     kNumber,
     PrintInt<&Header::antennaTypeIndex>,
     nullptr},
    {"header-region-length",
     "headerRegionLength",
     {},
     "bytes of the file the header occupies",
     kNumber,
     PrintInt<&Header::headerRegionLength>,
     nullptr},
};

}  // namespace

std::span<const RecordField> RecordFields() {
    return kFields;
}

const RecordField* FindRecordField(std::string_view name) {
    const auto found = std::find_if(std::begin(kFields), std::end(kFields),
                                    [&](const RecordField& field) { return field.name == name; });
    return found == std::end(kFields) ? nullptr : &*found;
}

std::optional<std::string> TakeFieldValue(const RecordField& field, StationHeader& header,
                                          std::wstring_view value,
                                          const AntennaCatalogue& catalogue) {
    if (!field.Editable())
        return std::string(field.name) + " cannot be changed";
    std::optional<std::string> error = field.take(header, value, catalogue);
    if (error)
        error = std::string(field.name) + " " + *error;
    return error;
}

bool KeepsFieldValue(const RecordField& field, const StationHeader& header, std::wstring_view value,
                     const AntennaCatalogue& catalogue, unsigned codePage) {
    const std::wstring held = field.print(header, codePage);
    if (value == held)
        return true;
    StationHeader edited = header;
    if (!field.Editable() || field.take(edited, value, catalogue))
        return false;
    const std::wstring taken = field.print(edited, codePage);
    if (field.kind == FieldKind::Number)
        return ScanWideDouble(taken) == ScanWideDouble(held);
    return taken == held;
}
