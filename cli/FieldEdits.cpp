#include "cli/FieldEdits.h"

#include <algorithm>

#include "cli/Json.h"
#include "header/CLocaleNumbers.h"
#include "header/MeasureToChoices.h"

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// A number given on the command line must be a plain decimal number as a whole, such as
// "-2148744.1234" or "1.5e3", not merely begin with one.
std::optional<double> WholeNumber(const std::wstring& text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        ++i;
    size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == L'.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i)
            ++digits;
    }
    if (digits > 0 && i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        size_t exponent = i + 1;
        if (exponent < text.size() && (text[exponent] == L'+' || text[exponent] == L'-'))
            ++exponent;
        if (exponent < text.size() && IsDigit(text[exponent])) {
            for (i = exponent; i < text.size() && IsDigit(text[i]);)
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

std::string ClosestNames(const std::wstring& name, const AntennaCatalogue& catalogue) {
    std::vector<std::pair<size_t, int>> ranked;
    const std::wstring wanted = Lower(name);
    for (int i = 0; i < catalogue.count; ++i)
        ranked.emplace_back(EditDistance(wanted, Lower(catalogue.entries[i].name)), i);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string names;
    for (size_t i = 0; i < ranked.size() && i < 3; ++i)
        names += (i == 0 ? "" : ", ") + JsonString(catalogue.entries[ranked[i].second].name);
    return names;
}

std::optional<int> MeasureToCode(const std::wstring& value) {
    for (size_t code = 0; code < MeasureToChoices.size(); ++code) {
        if (value == MeasureToChoices[code] || value == std::to_wstring(code))
            return static_cast<int>(code);
    }
    return std::nullopt;
}

}  // namespace

const std::vector<std::string_view>& FieldNames() {
    static const std::vector<std::string_view> names = {"station",
                                                        "station-code",
                                                        "antenna-height",
                                                        "antenna-type",
                                                        "antenna-number",
                                                        "measure-to",
                                                        "receiver-number",
                                                        "receiver-type",
                                                        "receiver-version",
                                                        "x",
                                                        "y",
                                                        "z"};
    return names;
}

bool SetField(FieldEdits& edits, std::string_view name, const std::wstring& value,
              const AntennaCatalogue& catalogue, std::string& error) {
    const auto text = [&](std::optional<std::wstring>& field) {
        field = value;
        return true;
    };
    const auto number = [&](std::optional<double>& field) {
        field = WholeNumber(value);
        if (!field)
            error = std::string(name) + " needs a number, not \"" + ToUtf8(value) + "\"";
        return field.has_value();
    };
    if (name == "station")
        return text(edits.station);
    if (name == "station-code")
        return text(edits.stationCode);
    if (name == "antenna-number")
        return text(edits.antennaNumber);
    if (name == "receiver-number")
        return text(edits.receiverNumber);
    if (name == "receiver-type")
        return text(edits.receiverType);
    if (name == "receiver-version")
        return text(edits.receiverVersion);
    if (name == "x")
        return number(edits.x);
    if (name == "y")
        return number(edits.y);
    if (name == "z")
        return number(edits.z);
    if (name == "antenna-height") {
        if (!WholeNumber(value)) {
            error = "antenna-height needs a number of metres, not \"" + ToUtf8(value) + "\"";
            return false;
        }
        return text(edits.antennaHeight);
    }
    if (name == "antenna-type") {
        if (catalogue.IndexOfName(value) < 0) {
            error =
                "antenna-type \"" + ToUtf8(value) +
                "\" is not in the antenna catalogue; closest: " + ClosestNames(value, catalogue);
            return false;
        }
        return text(edits.antennaType);
    }
    if (name == "measure-to") {
        edits.measureTo = MeasureToCode(value);
        if (!edits.measureTo)
            error = "measure-to is 0, 1, 2, 3 or one of the labels " +
                    ToUtf8(std::wstring(MeasureToChoices[0])) + ", " +
                    ToUtf8(std::wstring(MeasureToChoices[1])) + ", " +
                    ToUtf8(std::wstring(MeasureToChoices[2])) + ", " +
                    ToUtf8(std::wstring(MeasureToChoices[3]));
        return edits.measureTo.has_value();
    }
    error = "unknown field \"" + std::string(name) + "\"";
    return false;
}

std::optional<int> ApplyEdits(const FieldEdits& edits, const AntennaCatalogue& catalogue,
                              StationHeader& header) {
    if (catalogue.count == 0)
        return std::nullopt;
    header.approxX = RoundToShownDigits(header.approxX);
    header.approxY = RoundToShownDigits(header.approxY);
    header.approxZ = RoundToShownDigits(header.approxZ);
    header.interval = RoundToShownDigits(header.interval);
    header.stationName = edits.station.value_or(header.stationName);
    header.stationCode = edits.stationCode.value_or(header.stationCode);
    header.antennaHeightText = edits.antennaHeight.value_or(header.antennaHeightText);
    header.antennaNumber = edits.antennaNumber.value_or(header.antennaNumber);
    header.receiverNumber = edits.receiverNumber.value_or(header.receiverNumber);
    header.receiverType = edits.receiverType.value_or(header.receiverType);
    header.receiverVersion = edits.receiverVersion.value_or(header.receiverVersion);
    header.approxX = edits.x.value_or(header.approxX);
    header.approxY = edits.y.value_or(header.approxY);
    header.approxZ = edits.z.value_or(header.approxZ);
    // The editor's list shows the catalogue entry of the record's antenna, and the save writes
    // the name of what the list shows.
    header.antennaTypeName =
        edits.antennaType.value_or(catalogue.entries[header.antennaTypeIndex].name);
    return edits.measureTo.value_or(header.measureTo);
}
