#include "header/CLocaleNumbers.h"

#include "header/AsciiText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <limits>

namespace {

bool IsCWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsHexDigit(char c) {
    return IsAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

struct SignedText {
    bool negative = false;
    std::string_view rest;
};

SignedText SkipSpaceAndSign(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsCWhiteSpace(text[i]))
        ++i;
    SignedText result;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        result.negative = text[i++] == '-';
    result.rest = text.substr(i);
    return result;
}

int DigitValue(char c) {
    if (IsAsciiDigit(c))
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

// Decides whether a number that from_chars found out of range overflowed or underflowed, from
// the position of its first significant digit relative to the point, and its exponent.
bool IsHugeMagnitude(std::string_view number, bool hex) {
    const char exponentMark = hex ? 'p' : 'e';
    long long integerDigits = 0;
    long long fractionDigits = 0;
    long long firstSignificantInteger = -1;
    long long firstSignificantFraction = -1;
    bool seenPoint = false;
    size_t i = 0;
    for (; i < number.size() && (number[i] | 0x20) != exponentMark; ++i) {
        if (number[i] == '.') {
            seenPoint = true;
            continue;
        }
        const bool significant = DigitValue(number[i]) != 0;
        if (!seenPoint) {
            if (significant && firstSignificantInteger < 0)
                firstSignificantInteger = integerDigits;
            ++integerDigits;
        } else {
            if (significant && firstSignificantFraction < 0)
                firstSignificantFraction = fractionDigits;
            ++fractionDigits;
        }
    }
    long long magnitude = firstSignificantInteger >= 0 ? integerDigits - firstSignificantInteger
                                                       : -firstSignificantFraction;
    if (hex)
        magnitude *= 4;
    long long exponent = 0;
    if (i < number.size()) {
        const SignedText exponentText = SkipSpaceAndSign(number.substr(i + 1));
        for (char c : exponentText.rest) {
            if (exponent < LLONG_MAX / 20)
                exponent = exponent * 10 + (c - '0');
        }
        if (exponentText.negative)
            exponent = -exponent;
    }
    return magnitude + exponent > 0;
}

// from_chars takes a minus sign of its own, so a second sign ("--5") would flip the value.
bool StartsWithSign(std::string_view text) {
    return !text.empty() && (text[0] == '+' || text[0] == '-');
}

template <typename T>
std::optional<T> ScanFloating(std::string_view text) {
    const SignedText signedText = SkipSpaceAndSign(text);
    std::string_view rest = signedText.rest;
    if (StartsWithSign(rest))
        return std::nullopt;
    bool hex = false;
    if (rest.size() > 2 && rest[0] == '0' && (rest[1] | 0x20) == 'x' &&
        (IsHexDigit(rest[2]) || (rest[2] == '.' && rest.size() > 3 && IsHexDigit(rest[3])))) {
        hex = true;
        rest.remove_prefix(2);
    }
    T value{};
    const char* begin = rest.data();
    const auto [end, error] =
        std::from_chars(begin, begin + rest.size(), value,
                        hex ? std::chars_format::hex : std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        value = IsHugeMagnitude(std::string_view(begin, static_cast<size_t>(end - begin)), hex)
                    ? std::numeric_limits<T>::infinity()
                    : T{0};
    } else if (error != std::errc()) {
        return std::nullopt;
    }
    return signedText.negative ? -value : value;
}

template <typename Format>
std::string FormatWith(Format format) {
    // Large enough for the longest double in fixed notation with generous decimals.
    std::array<char, 700> buffer;
    const auto [end, error] = format(buffer.data(), buffer.data() + buffer.size());
    if (error != std::errc())
        return {};
    return std::string(buffer.data(), end);
}

}  // namespace

std::optional<float> ScanFloat(std::string_view text) {
    return ScanFloating<float>(text);
}

std::optional<double> ScanDouble(std::string_view text) {
    return ScanFloating<double>(text);
}

std::optional<int> ScanInt(std::string_view text) {
    const SignedText signedText = SkipSpaceAndSign(text);
    if (signedText.rest.empty() || !IsAsciiDigit(signedText.rest[0]))
        return std::nullopt;
    long long value = 0;
    for (char c : signedText.rest) {
        if (!IsAsciiDigit(c))
            break;
        value = std::min<long long>(value * 10 + (c - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (signedText.negative)
        value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

double LeadingNumber(std::string_view text) {
    return ScanDouble(text).value_or(0.0);
}

std::string FormatFixed(double value, int decimals) {
    return FormatWith([&](char* first, char* last) {
        return std::to_chars(first, last, value, std::chars_format::fixed, decimals);
    });
}

std::string FormatGeneral(double value, int precision) {
    return FormatWith([&](char* first, char* last) {
        return std::to_chars(first, last, value, std::chars_format::general, precision);
    });
}

std::string FormatInt(int value) {
    return FormatWith([&](char* first, char* last) { return std::to_chars(first, last, value); });
}

namespace {

std::string AsciiForScan(std::wstring_view text) {
    std::string ascii(text.size(), '\x7F');
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] > 0 && text[i] < 0x7F)
            ascii[i] = static_cast<char>(text[i]);
    }
    return ascii;
}

}  // namespace

std::optional<double> ScanWideDouble(std::wstring_view text) {
    return ScanDouble(AsciiForScan(text));
}

std::optional<int> ScanWideInt(std::wstring_view text) {
    return ScanInt(AsciiForScan(text));
}

double RoundToShownDigits(double value) {
    return ScanDouble(FormatGeneral(value, kShownSignificantDigits)).value_or(value);
}
