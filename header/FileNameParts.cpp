#include "header/FileNameParts.h"

#include "header/AsciiText.h"
#include "platform/PathText.h"

namespace {

constexpr int kLastDayOfYear = 366;

// Copy tools and FAT volumes lower-case whole names, so the session letter may come in either
// case; only ASCII letters count.
bool IsSessionLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool IsCWhiteSpace(wchar_t c) {
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

bool IsThreeDigitDay(std::wstring_view text) {
    for (wchar_t c : text) {
        if (!IsAsciiDigit(c))
            return false;
    }
    return (text[0] - L'0') * 100 + (text[1] - L'0') * 10 + (text[2] - L'0') <= kLastDayOfYear;
}

// Older names carry the day as whatever leading number the three characters hold, so "-12" and
// "xyz" pass as days.
bool IsLenientDay(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && IsCWhiteSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    int value = 0;
    while (i < text.size() && IsAsciiDigit(text[i]))
        value = value * 10 + (text[i++] - L'0');
    return negative || value <= kLastDayOfYear;
}

FileNameParts SplitFileName(const std::wstring& name) {
    const size_t n = name.size();
    if (n <= 4)
        return {{}, L"UnKnown", L".TZR"};
    const wchar_t c = name[n - 5];
    size_t suffixLength = 4;
    if (IsSessionLetter(c) && n >= 9 && IsThreeDigitDay(std::wstring_view(name).substr(n - 8, 3)))
        suffixLength = 8;
    else if (IsAsciiDigit(c) && n >= 10 && IsSessionLetter(name[n - 6]) &&
             IsLenientDay(std::wstring_view(name).substr(n - 9, 3)))
        suffixLength = 9;
    return {{}, name.substr(0, n - suffixLength), name.substr(n - suffixLength)};
}

}  // namespace

FileNameParts SplitRawFilePath(const std::wstring& path, wchar_t separator) {
    const std::wstring directory = DirectoryPartOf(path, separator);
    FileNameParts parts = SplitFileName(path.substr(directory.size()));
    parts.directory = directory;
    return parts;
}

std::wstring ComposeRawFilePath(const std::wstring& directory, const std::wstring& stationName,
                                const std::wstring& suffix) {
    return directory + stationName + suffix;
}
