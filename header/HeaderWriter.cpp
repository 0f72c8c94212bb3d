#include "header/HeaderWriter.h"

#include "header/AsciiText.h"
#include "header/CLocaleNumbers.h"
#include "header/HeaderKeys.h"
#include "platform/CodePage.h"

namespace {

constexpr size_t kMaxOemHeightBytes = 15;

// A plain decimal number as atof reads it; infinities, NaN and hexadecimal count as no number.
float DecimalNumber(const std::string& text) {
    size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos)
        return 0;
    if (text[i] == '+' || text[i] == '-')
        ++i;
    const bool startsNumber = i < text.size() && (IsAsciiDigit(text[i]) || text[i] == '.');
    if (!startsNumber || text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0)
        return 0;
    return static_cast<float>(ScanDouble(text).value_or(0.0));
}

std::string Line(std::string_view key, std::string_view value) {
    std::string line(key);
    line += value;
    return line;
}

}  // namespace

void NormaliseAntennaHeight(StationHeader& header, unsigned oemCodePage) {
    std::string oemText = UnicodeStringToMultiByte(header.antennaHeightText, oemCodePage);
    if (oemText.size() > kMaxOemHeightBytes)
        oemText.clear();
    header.antennaHeight = DecimalNumber(oemText);
    header.antennaHeightText = WidenAscii(FormatFixed(header.antennaHeight, 3));
    header.antennaHeight = DecimalNumber(FormatFixed(header.antennaHeight, 3));
}

std::optional<std::string> BuildHeaderText(const StationHeader& header, int measureTo,
                                           unsigned ansiCodePage) {
    const auto ansi = [&](const std::wstring& text) {
        return UnicodeStringToMultiByte(text, ansiCodePage);
    };
    const std::string lines[] = {
        "VELMORAN COLLECTED DATA FILE",
        Line(kVersionKey, " " + FormatFixed(header.version, 1)),
        Line(kReceiverIdKey, header.receiverIdText),
        Line(kDateKey, header.dateText),
        Line(kModelKey, ansi(header.receiverType)),
        Line(kAntHighKey, FormatFixed(header.antennaHeight, 3)),
        Line(kHeightOffsetKey, FormatFixed(header.heightOffset, 3)),
        Line(kAntTypeKey, ansi(header.antennaTypeName)),
        Line(kMeasureToKey, FormatInt(measureTo)),
        Line(kXKey, FormatFixed(header.approxX, 4)),
        Line(kYKey, FormatFixed(header.approxY, 4)),
        Line(kZKey, FormatFixed(header.approxZ, 4)),
        Line(kMarkerNameKey, ansi(header.stationName)),
        Line(kMarkerNumberKey, ansi(header.stationCode)),
        Line(kRecNumberKey, ansi(header.receiverNumber)),
        Line(kRecTypeKey, ansi(header.receiverType)),
        Line(kRecVersKey, ansi(header.receiverVersion)),
        Line(kAntNumberKey, ansi(header.antennaNumber)),
        Line(kAntTypeNameKey, ansi(header.antennaTypeName)),
        Line(kIntervalKey, FormatFixed(header.interval, 1)),
        Line(kTimeOfFirstObsKey, ansi(header.timeOfFirstObs)),
        Line(kLeapSecondsKey, FormatInt(header.leapSeconds)),
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
