#include "cli/Json.h"

#include <array>
#include <charconv>
#include <cmath>

#include "header/CLocaleNumbers.h"
#include "platform/CodePage.h"

namespace {

template <typename T>
std::string ShortestNumber(T value) {
    if (!std::isfinite(value))
        return "null";
    std::array<char, 64> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

}  // namespace

std::string JsonString(std::string_view utf8) {
    std::string json = "\"";
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            json += "\\u00";
            json += kHex[byte >> 4];
            json += kHex[byte & 0xF];
        } else {
            json += c;
        }
    }
    return json + "\"";
}

std::string JsonString(std::wstring_view text) {
    return JsonString(ToUtf8(text));
}

std::string JsonNumber(float value) {
    return ShortestNumber(value);
}

std::string JsonNumber(double value) {
    return ShortestNumber(value);
}

std::string JsonNumber(int value) {
    return ShortestNumber(value);
}

std::string JsonBool(bool value) {
    return value ? "true" : "false";
}

std::string JsonFieldValue(const RecordField& field, std::wstring_view printed) {
    if (field.kind == FieldKind::Text)
        return JsonString(printed);
    const std::optional<double> number = ScanWideDouble(printed);
    return number && std::isfinite(*number) ? ToUtf8(printed) : "null";
}
