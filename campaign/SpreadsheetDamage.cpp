#include "campaign/SpreadsheetDamage.h"

#include <optional>
#include <string>

#include "header/AsciiText.h"

namespace {

// The most significant digits a spreadsheet keeps of a number.
constexpr size_t kSpreadsheetDigits = 15;

// A decimal number as its digits: the value is 0.d1d2d3... times ten to `point`.
struct Decimal {
    bool negative = false;
    // Without leading or trailing zeros; empty for zero.
    std::string digits;
    long point = 0;
    bool operator==(const Decimal&) const = default;
};

// How a number is written, beyond its value.
struct Written {
    Decimal value;
    bool plusSign = false;
    bool exponent = false;
    // Zeros before the first significant digit of the integer part ("007"; not the "0" of "0.5").
    bool leadingZeros = false;
    // A point with no digits after it, or zeros that close the fraction ("3.10", "3.").
    bool closingZeros = false;
    bool integerDigits = false;
};

size_t DigitsFrom(std::wstring_view text, size_t at, std::string& digits) {
    for (; at < text.size() && IsAsciiDigit(text[at]); ++at)
        digits += static_cast<char>(text[at]);
    return at;
}

// Optional sign, digits with an optional point, an optional exponent; nothing else.
std::optional<Written> ParseNumber(std::wstring_view text) {
    Written written;
    size_t at = 0;
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) {
        written.plusSign = text[at] == L'+';
        written.value.negative = text[at] == L'-';
        ++at;
    }
    std::string whole;
    std::string fraction;
    at = DigitsFrom(text, at, whole);
    const bool point = at < text.size() && text[at] == L'.';
    if (point)
        at = DigitsFrom(text, at + 1, fraction);
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    long exponent = 0;
    if (at < text.size() && (text[at] == L'e' || text[at] == L'E')) {
        written.exponent = true;
        ++at;
        const bool negative = at < text.size() && text[at] == L'-';
        if (at < text.size() && (text[at] == L'+' || text[at] == L'-'))
            ++at;
        std::string power;
        at = DigitsFrom(text, at, power);
        if (power.empty() || power.size() > 4)
            return std::nullopt;
        exponent = negative ? -std::stol(power) : std::stol(power);
    }
    if (at != text.size())
        return std::nullopt;
    written.integerDigits = !whole.empty();
    written.leadingZeros = whole.size() > 1 && whole[0] == '0';
    written.closingZeros = point && (fraction.empty() || fraction.back() == '0');

    std::string digits = whole + fraction;
    long pointAt = static_cast<long>(whole.size()) + exponent;
    const size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return written;
    digits.erase(0, first);
    pointAt -= static_cast<long>(first);
    digits.erase(digits.find_last_not_of('0') + 1);
    written.value.digits = digits;
    written.value.point = pointAt;
    return written;
}

// Whether a spreadsheet could have written the number so.
bool AsSpreadsheetWrites(const Written& number) {
    return !number.plusSign && !number.leadingZeros && !number.closingZeros && number.integerDigits;
}

// The value rounded half away from zero to `count` significant digits.
Decimal Rounded(Decimal value, size_t count) {
    if (value.digits.size() <= count)
        return value;
    const bool up = value.digits[count] >= '5';
    value.digits.resize(count);
    if (up) {
        size_t i = count;
        while (i > 0 && value.digits[i - 1] == '9')
            value.digits[--i] = '0';
        if (i == 0) {
            value.digits.insert(value.digits.begin(), '1');
            ++value.point;
        } else {
            ++value.digits[i - 1];
        }
    }
    value.digits.erase(value.digits.find_last_not_of('0') + 1);
    return value;
}

}  // namespace

bool SpreadsheetMayDamage(const RecordField& field) {
    return field.kind == FieldKind::Text && field.Editable();
}

bool IsSpreadsheetDamage(std::wstring_view held, std::wstring_view cell) {
    if (held == cell)
        return false;
    const std::optional<Written> original = ParseNumber(held);
    const std::optional<Written> shown = ParseNumber(cell);
    if (!original || !shown || !AsSpreadsheetWrites(*shown))
        return false;
    if (original->value == shown->value)
        return true;
    const size_t kept = shown->value.digits.size();
    const bool rounds = shown->exponent || kept == kSpreadsheetDigits;
    return rounds && kept > 0 && Rounded(original->value, kept) == shown->value;
}
