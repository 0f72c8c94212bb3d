#include "cli/FindingText.h"

#include "cli/ReadProblem.h"
#include "header/CLocaleNumbers.h"
#include "platform/Utf8.h"

namespace {

// A value from a table may hold a line break; printed as it is, one finding would take two lines.
std::string OnOneLine(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n')
            shown += "\\n";
        else if (c == '\r')
            shown += "\\r";
        else if (c == '\t')
            shown += "\\t";
        else if (byte < 0x20 || byte == 0x7F)
            shown += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        else
            shown += c;
    }
    return shown;
}

std::string Quoted(const ToolTexts& texts, const std::wstring& text) {
    return Fill(texts.quoted, {OnOneLine(ToUtf8(text))});
}

std::string FileCount(const ToolTexts& texts, size_t count) {
    return CountOf(count, texts.oneFile, texts.files);
}

std::string OtherTypes(const ToolTexts& texts, const Finding& finding) {
    std::string others;
    for (const auto& [type, count] : finding.otherTypes)
        others += (others.empty() ? "" : std::string(texts.listSeparator)) +
                  Fill(texts.receiverTypeInFiles, {Quoted(texts, type), FileCount(texts, count)});
    return others;
}

std::string RowOf(const Campaign* log, int row, Language language) {
    return log != nullptr && row >= 0 ? TableRowText(*log, row, language) : std::string();
}

}  // namespace

std::string TableRowText(const Campaign& table, int row, Language language) {
    return Fill(TextsIn(language).tableRow,
                {std::to_string(table.Line(row)), OnOneLine(table.Key(row))});
}

std::string FindingMessage(const Finding& finding, const Campaign* log, Language language) {
    const ToolTexts& texts = TextsIn(language);
    const std::string value = Quoted(texts, finding.value);
    const std::string other = Quoted(texts, finding.other);
    switch (finding.code) {
        case FindingCode::Unreadable:
            return ReadFailureText(finding.failure, language);
        case FindingCode::NameMismatch:
            return Fill(texts.nameMismatch, {other, value});
        case FindingCode::UnknownAntenna:
            return Fill(texts.unknownAntenna, {value, other});
        case FindingCode::HeightMissing:
            return std::string(texts.heightMissing);
        case FindingCode::HeightRange:
            return Fill(texts.heightRange, {ToUtf8(finding.value)});
        case FindingCode::MeasureToUnknown:
            return std::string(texts.measureToUnknown);
        case FindingCode::CoordinatesMissing:
            return std::string(texts.coordinatesMissing);
        case FindingCode::StationSpread:
            return Fill(texts.stationSpread,
                        {FormatFixed(finding.metres, 1), std::to_string(finding.fileCount), value});
        case FindingCode::ReceiverMismatch:
            return Fill(texts.receiverMismatch, {other, value, OtherTypes(texts, finding)});
        case FindingCode::LogMismatch:
            return Fill(texts.logMismatch,
                        {finding.field, value, other, RowOf(log, finding.row, language)});
        case FindingCode::LogMissing:
            return finding.row < 0
                       ? std::string(texts.noRowForFile)
                       : Fill(texts.rowMatchesNoFile, {RowOf(log, finding.row, language)});
    }
    return {};
}
