#include "header/ValueCheck.h"

#include <array>
#include <cmath>
#include <utility>

#include "header/AsciiText.h"
#include "header/CLocaleNumbers.h"
#include "header/HeaderText.h"
#include "header/HeaderWriter.h"
#include "platform/CodePage.h"

namespace {

using TextField = std::pair<std::string_view, const std::wstring StationHeader::*>;

// Every text the header's lines take from the record; numbers are formatted, so they are safe.
constexpr std::array<TextField, 8> kTextFields = {{
    {"station", &StationHeader::stationName},
    {"station-code", &StationHeader::stationCode},
    {"antenna-type", &StationHeader::antennaTypeName},
    {"antenna-number", &StationHeader::antennaNumber},
    {"receiver-number", &StationHeader::receiverNumber},
    {"receiver-type", &StationHeader::receiverType},
    {"receiver-version", &StationHeader::receiverVersion},
    {"time-of-first-obs", &StationHeader::timeOfFirstObs},
}};

bool IsControl(wchar_t c) {
    return c < L' ' || c == 0x7F;
}

void AddOnce(std::wstring& characters, std::wstring_view added) {
    if (characters.find(added) == std::wstring::npos)
        characters += added;
}

// TAB is no line break and older headers hold it, so only the file name refuses it.
std::wstring ControlCharactersIn(const std::wstring& text, bool tabAllowed) {
    std::wstring found;
    for (wchar_t c : text) {
        if (IsControl(c) && !(tabAllowed && c == L'\t'))
            AddOnce(found, std::wstring_view(&c, 1));
    }
    return found;
}

bool IsReservedDeviceName(std::wstring_view stem) {
    while (!stem.empty() && stem.back() == L' ')
        stem.remove_suffix(1);
    std::wstring upper(stem);
    for (wchar_t& c : upper)
        c = ToAsciiUpper(c);
    for (std::wstring_view name : {L"CON", L"PRN", L"AUX", L"NUL"}) {
        if (upper == name)
            return true;
    }
    // Windows reserves the superscript digits one to three as well.
    return upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT")) &&
           ((upper[3] >= L'1' && upper[3] <= L'9') || upper[3] == L'\u00B9' ||
            upper[3] == L'\u00B2' || upper[3] == L'\u00B3');
}

// What makes the station name no single Windows file name once the suffix follows it: its
// characters that no name may hold, or else the whole station (empty for an empty one); nothing
// when it can be one.
std::optional<std::wstring> FileNameFaults(const StationHeader& header) {
    const std::wstring& station = header.stationName;
    std::wstring found;
    for (wchar_t c : station) {
        if (std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos)
            AddOnce(found, std::wstring_view(&c, 1));
    }
    if (!found.empty())
        return found;
    const std::wstring fileName = station + header.nameParts.suffix;
    // An empty station would leave the suffix as the name, which reads back as another station.
    const bool dotsOnly = station.empty() || station == L"." || station == L"..";
    const bool badEnd = !fileName.empty() && (fileName.back() == L'.' || fileName.back() == L' ');
    const bool device = IsReservedDeviceName(
        std::wstring_view(fileName).substr(0, std::min(fileName.find(L'.'), fileName.size())));
    if (dotsOnly || badEnd || device)
        return station;
    return std::nullopt;
}

// One character, or a surrogate pair, at a time.
size_t CharacterLength(const std::wstring& text, size_t at) {
    const bool pair = sizeof(wchar_t) == 2 && at + 1 < text.size() && text[at] >= 0xD800 &&
                      text[at] <= 0xDBFF && text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF;
    return pair ? 2 : 1;
}

std::wstring CharactersNotIn(const std::wstring& text, unsigned codePage) {
    std::wstring found;
    for (size_t i = 0; i < text.size();) {
        const size_t length = CharacterLength(text, i);
        const std::wstring_view character(text.data() + i, length);
        if (MultiByteToUnicodeString(UnicodeStringToMultiByte(character, codePage), codePage) !=
            character)
            AddOnce(found, character);
        i += length;
    }
    return found;
}

}  // namespace

std::optional<ValueProblem> FindValueThatBreaksTheHeader(const StationHeader& header) {
    for (const auto& [field, member] : kTextFields) {
        const bool isStation = member == &StationHeader::stationName;
        std::wstring found = ControlCharactersIn(header.*member, !isStation);
        if (!found.empty())
            return ValueProblem{field, ValueFault::ControlCharacter, std::move(found)};
        if (isStation) {
            if (std::optional<std::wstring> faults = FileNameFaults(header))
                return ValueProblem{field, ValueFault::NotAFileName, std::move(*faults)};
        }
    }
    return std::nullopt;
}

std::optional<ValueProblem> FindValueOutsideCodePage(const StationHeader& header,
                                                     unsigned codePage) {
    for (const auto& [field, member] : kTextFields) {
        std::wstring found = CharactersNotIn(header.*member, codePage);
        if (!found.empty())
            return ValueProblem{field, ValueFault::NotInCodePage, std::move(found)};
    }
    return std::nullopt;
}

std::optional<ValueProblem> FindNumberThatDoesNotReadBack(const StationHeader& header) {
    for (const NumberLine& line : DecimalNumberLines(header)) {
        if (!std::isfinite(line.value) || line.text.size() > HeaderText::kPieceLimit)
            return ValueProblem{line.field, ValueFault::NotANumber,
                                WidenAscii(FormatGeneral(line.value, kShownSignificantDigits))};
    }
    return std::nullopt;
}
