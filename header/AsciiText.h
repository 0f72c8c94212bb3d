#pragma once

#include <string>
#include <string_view>

// Character tests and conversions of the C locale, for any character type and whatever the
// process locale says.
template <typename Char>
constexpr bool IsAsciiDigit(Char c) {
    return c >= Char('0') && c <= Char('9');
}

template <typename Char>
constexpr Char ToAsciiUpper(Char c) {
    return c >= Char('a') && c <= Char('z') ? Char(c - Char('a') + Char('A')) : c;
}

template <typename Char>
constexpr Char ToAsciiLower(Char c) {
    return c >= Char('A') && c <= Char('Z') ? Char(c - Char('A') + Char('a')) : c;
}

// The text with its ASCII capitals made small, as Windows folds file names and as names of
// columns and encodings are matched.
inline std::string AsciiLowercase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = ToAsciiLower(c);
    return lower;
}

inline std::wstring AsciiLowercase(std::wstring_view text) {
    std::wstring lower(text);
    for (wchar_t& c : lower)
        c = ToAsciiLower(c);
    return lower;
}

// Text made only of ASCII, such as formatted numbers, as wide text.
inline std::wstring WidenAscii(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}
