#include "header/FieldTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "header/AsciiText.h"
#include "header/CLocaleNumbers.h"
#include "header/HeaderKeys.h"
#include "header/MeasureToChoices.h"
#include "platform/CodePage.h"

namespace {

using Header = StationHeader;

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

std::vector<std::wstring> ClosestNames(std::wstring_view name, const AntennaCatalogue& catalogue) {
    constexpr size_t kSuggestions = 3;
    std::vector<std::pair<size_t, int>> ranked;
    const std::wstring wanted = AsciiLowercase(name);
    for (int i = 0; i < catalogue.count; ++i)
        ranked.emplace_back(EditDistance(wanted, AsciiLowercase(catalogue.entries[i].name)), i);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::wstring> names;
    for (size_t i = 0; i < ranked.size() && i < kSuggestions; ++i)
        names.push_back(catalogue.entries[ranked[i].second].name);
    return names;
}

FieldValueProblem Problem(FieldValueFault fault, std::wstring_view value) {
    return {{}, fault, std::wstring(value), {}};
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
std::optional<FieldValueProblem> TakeText(Header& header, std::wstring_view value,
                                          const AntennaCatalogue&) {
    header.*member = value;
    return std::nullopt;
}

template <double Header::*member>
std::optional<FieldValueProblem> TakeNumber(Header& header, std::wstring_view value,
                                            const AntennaCatalogue&) {
    const std::optional<double> number = WholeNumber(value);
    if (!number)
        return Problem(FieldValueFault::NotANumber, value);
    // Its header line must read back whole, as one piece.
    if (!std::isfinite(*number) || FormatFixed(*number, 4).size() > kLongestWrittenNumber)
        return Problem(FieldValueFault::OutOfRange, value);
    header.*member = *number;
    return std::nullopt;
}

// The save itself rounds the height to millimetres, from the text, as the editor's does.
std::optional<FieldValueProblem> TakeAntennaHeight(Header& header, std::wstring_view value,
                                                   const AntennaCatalogue&) {
    const std::optional<double> metres = WholeNumber(value);
    if (!metres)
        return Problem(FieldValueFault::NotANumberOfMetres, value);
    const auto height = static_cast<float>(*metres);
    if (!std::isfinite(height) || FormatFixed(height, 3).size() > kLongestWrittenNumber)
        return Problem(FieldValueFault::OutOfRange, value);
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

std::optional<FieldValueProblem> TakeAntennaType(Header& header, std::wstring_view value,
                                                 const AntennaCatalogue& catalogue) {
    const int index = catalogue.IndexOfName(std::wstring(value));
    if (index < 0) {
        FieldValueProblem problem = Problem(FieldValueFault::NotInCatalogue, value);
        problem.closest = ClosestNames(value, catalogue);
        return problem;
    }
    header.antennaTypeName = value;
    header.antennaTypeIndex = index;
    return std::nullopt;
}

std::optional<FieldValueProblem> TakeMeasureTo(Header& header, std::wstring_view value,
                                               const AntennaCatalogue&) {
    for (size_t code = 0; code < MeasureToChoices.size(); ++code) {
        if (value == MeasureToChoices[code] || value == std::to_wstring(code)) {
            header.measureTo = static_cast<int32_t>(code);
            return std::nullopt;
        }
    }
    return Problem(FieldValueFault::NotAMeasureTo, value);
}

constexpr FieldKind kText = FieldKind::Text;
constexpr FieldKind kNumber = FieldKind::Number;

constexpr RecordField kFields[] = {
    {"station",
     {kMarkerNameKey},
     kText,
     PrintText<&Header::stationName>,
     TakeText<&Header::stationName>},
    {"station-code",
     {kMarkerNumberKey},
     kText,
     PrintText<&Header::stationCode>,
     TakeText<&Header::stationCode>},
    {"antenna-height",
     {kAntHighKey},
     kNumber,
     PrintText<&Header::antennaHeightText>,
     TakeAntennaHeight},
    {"antenna-type",
     {kAntTypeKey, kAntTypeNameKey},
     kText,
     PrintText<&Header::antennaTypeName>,
     TakeAntennaType},
    {"antenna-number",
     {kAntNumberKey},
     kText,
     PrintText<&Header::antennaNumber>,
     TakeText<&Header::antennaNumber>},
    {"measure-to", {kMeasureToKey}, kNumber, PrintInt<&Header::measureTo>, TakeMeasureTo},
    {"receiver-number",
     {kRecNumberKey},
     kText,
     PrintText<&Header::receiverNumber>,
     TakeText<&Header::receiverNumber>},
    {"receiver-type",
     {kModelKey, kRecTypeKey},
     kText,
     PrintText<&Header::receiverType>,
     TakeText<&Header::receiverType>},
    {"receiver-version",
     {kRecVersKey},
     kText,
     PrintText<&Header::receiverVersion>,
     TakeText<&Header::receiverVersion>},
    {"x", {kXKey}, kNumber, PrintShown<&Header::approxX>, TakeNumber<&Header::approxX>},
    {"y", {kYKey}, kNumber, PrintShown<&Header::approxY>, TakeNumber<&Header::approxY>},
    {"z", {kZKey}, kNumber, PrintShown<&Header::approxZ>, TakeNumber<&Header::approxZ>},
    {"interval", {kIntervalKey}, kNumber, PrintShown<&Header::interval>, nullptr},
    {"leap-seconds", {kLeapSecondsKey}, kNumber, PrintInt<&Header::leapSeconds>, nullptr},
    {"time-of-first-obs", {kTimeOfFirstObsKey}, kText, PrintText<&Header::timeOfFirstObs>, nullptr},
    {"date", {kDateKey}, kText, PrintBytes<&Header::dateText>, nullptr},
    {"receiver-id", {kReceiverIdKey}, kText, PrintBytes<&Header::receiverIdText>, nullptr},
    {"version", {kVersionKey}, kNumber, PrintShown<&Header::version>, nullptr},
    {"height-offset", {kHeightOffsetKey}, kNumber, PrintShortest<&Header::heightOffset>, nullptr},
    {"antenna-type-index",
     {kAntTypeKey, kAntTypeNameKey},
     kNumber,
     PrintInt<&Header::antennaTypeIndex>,
     nullptr},
    {"header-region-length", {}, kNumber, PrintInt<&Header::headerRegionLength>, nullptr},
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

std::optional<FieldValueProblem> TakeFieldValue(const RecordField& field, StationHeader& header,
                                                std::wstring_view value,
                                                const AntennaCatalogue& catalogue) {
    std::optional<FieldValueProblem> problem = field.Editable()
                                                   ? field.take(header, value, catalogue)
                                                   : Problem(FieldValueFault::ReadOnly, value);
    if (problem)
        problem->field = field.name;
    return problem;
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
