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

// Text made only of ASCII, such as formatted numbers, as wide text.
inline std::wstring WidenAscii(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}
