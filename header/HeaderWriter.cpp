#include "header/HeaderWriter.h"

#include <array>
#include <cmath>

#include "header/AsciiText.h"
#include "header/CLocaleNumbers.h"
#include "platform/CodePage.h"

namespace {

constexpr std::string_view kCWhiteSpace = " \t\n\v\f\r";

// A header number: the field it comes from, its key and the decimals it is written with.
struct NumberField {
    std::string_view field;
    std::string_view key;
    int decimals;
    double (*value)(const StationHeader& header);
};

constexpr NumberField kVersion{"version", "ver ", 1,
                               [](const StationHeader& h) { return h.version; }};
constexpr NumberField kAntennaHeight{"antenna-height", "AntHigh:", 3, [](const StationHeader& h) {
                                         return static_cast<double>(h.antennaHeight);
                                     }};
constexpr NumberField kHeightOffset{
    "height-offset", "HEIGHT OFFSET:", 3,
    [](const StationHeader& h) { return static_cast<double>(h.heightOffset); }};
constexpr NumberField kX{"x", "X:", 4, [](const StationHeader& h) { return h.approxX; }};
constexpr NumberField kY{"y", "Y:", 4, [](const StationHeader& h) { return h.approxY; }};
constexpr NumberField kZ{"z", "Z:", 4, [](const StationHeader& h) { return h.approxZ; }};
constexpr NumberField kInterval{"interval", "INTERVAL:", 1,
                                [](const StationHeader& h) { return h.interval; }};

constexpr std::array<const NumberField*, 7> kNumberFields = {
    &kVersion, &kAntennaHeight, &kHeightOffset, &kX, &kY, &kZ, &kInterval};

std::string LineOf(const NumberField& number, const StationHeader& header) {
    return std::string(number.key) + FormatFixed(number.value(header), number.decimals);
}

std::string_view WithoutBlanksAround(std::string_view text) {
    const size_t first = text.find_first_not_of(kCWhiteSpace);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kCWhiteSpace) - first + 1);
}

size_t SkipDigits(std::string_view text, size_t i) {
    while (i < text.size() && IsAsciiDigit(text[i]))
        ++i;
    return i;
}

// A sign, digits with an optional point, an optional exponent, and nothing after them: no
// infinity, NaN or hexadecimal, no "1,5" or "1.5m" read as its beginning.
bool IsOneDecimalNumber(std::string_view text) {
    size_t i = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
    const size_t integerEnd = SkipDigits(text, i);
    size_t digits = integerEnd - i;
    i = integerEnd;
    if (i < text.size() && text[i] == '.') {
        const size_t fractionEnd = SkipDigits(text, i + 1);
        digits += fractionEnd - i - 1;
        i = fractionEnd;
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t exponent = i + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        i = SkipDigits(text, exponent);
        if (i == exponent)
            return false;
    }
    return i == text.size();
}

}  // namespace

bool NormaliseAntennaHeight(StationHeader& header, unsigned oemCodePage) {
    const std::string oemText = UnicodeStringToMultiByte(header.antennaHeightText, oemCodePage);
    const std::string_view number = WithoutBlanksAround(oemText);
    if (!IsOneDecimalNumber(number))
        return false;
    const auto typed = static_cast<float>(ScanDouble(number).value_or(0.0));
    if (!std::isfinite(typed))
        return false;
    const std::string rounded = FormatFixed(typed, 3);
    header.antennaHeightText = WidenAscii(rounded);
    header.antennaHeight = static_cast<float>(ScanDouble(rounded).value_or(0.0));
    return true;
}

std::vector<NumberLine> DecimalNumberLines(const StationHeader& header) {
    std::vector<NumberLine> lines;
    for (const NumberField* number : kNumberFields)
        lines.push_back({number->field, number->value(header), LineOf(*number, header)});
    return lines;
}

std::optional<std::string> BuildHeaderText(const StationHeader& header, int measureTo,
                                           unsigned ansiCodePage) {
    const auto ansi = [&](const std::wstring& text) {
        return UnicodeStringToMultiByte(text, ansiCodePage);
    };
    const std::string lines[] = {
        "VELMORAN COLLECTED DATA FILE",
        LineOf(kVersion, header),
        "ReceiverID:" + header.receiverIdText,
        "Date:" + header.dateText,
        "Model:" + ansi(header.receiverType),
        LineOf(kAntennaHeight, header),
        LineOf(kHeightOffset, header),
        "AntType:" + ansi(header.antennaTypeName),
        "MeasureTo:" + FormatInt(measureTo),
        LineOf(kX, header),
        LineOf(kY, header),
        LineOf(kZ, header),
        "MARKER NAME:" + ansi(header.stationName),
        "MARKER NUMBER:" + ansi(header.stationCode),
        "REC #:" + ansi(header.receiverNumber),
        "REC TYPE:" + ansi(header.receiverType),
        "REC VERS:" + ansi(header.receiverVersion),
        "ANT #:" + ansi(header.antennaNumber),
        "ANT TYPE:" + ansi(header.antennaTypeName),
        LineOf(kInterval, header),
        "TIME OF FIRST OBS:" + ansi(header.timeOfFirstObs),
        "LEAP SECONDS:" + FormatInt(header.leapSeconds),
    };
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
        if (text.size() > kMaxHeaderLength)
            return std::nullopt;
    }
    return text;
}
