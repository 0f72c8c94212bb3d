#include "header/HeaderWriter.h"

#include "header/AsciiText.h"
#include "header/CLocaleNumbers.h"
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
        "ver " + FormatFixed(header.version, 1),
        "ReceiverID:" + header.receiverIdText,
        "Date:" + header.dateText,
        "Model:" + ansi(header.receiverType),
        "AntHigh:" + FormatFixed(header.antennaHeight, 3),
        "HEIGHT OFFSET:" + FormatFixed(header.heightOffset, 3),
        "AntType:" + ansi(header.antennaTypeName),
        "MeasureTo:" + FormatInt(measureTo),
        "X:" + FormatFixed(header.approxX, 4),
        "Y:" + FormatFixed(header.approxY, 4),
        "Z:" + FormatFixed(header.approxZ, 4),
        "MARKER NAME:" + ansi(header.stationName),
        "MARKER NUMBER:" + ansi(header.stationCode),
        "REC #:" + ansi(header.receiverNumber),
        "REC TYPE:" + ansi(header.receiverType),
        "REC VERS:" + ansi(header.receiverVersion),
        "ANT #:" + ansi(header.antennaNumber),
        "ANT TYPE:" + ansi(header.antennaTypeName),
        "INTERVAL:" + FormatFixed(header.interval, 1),
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
