#include "platform/NativePath.h"

#include <algorithm>

#include "platform/Utf8.h"

namespace {

constexpr char32_t kStrayByteBase = 0xDC00;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The code point of a well-formed UTF-8 sequence at `at`, and its length; 0 when there is none.
size_t DecodeUtf8(std::string_view text, size_t at, char32_t& point) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        point = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, point = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, point = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, point = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(byte))
            return 0;
        point = (point << 6) | (byte & 0x3F);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return point < least || surrogate || point > 0x10FFFF ? 0 : length;
}

bool IsStrayByte(wchar_t c) {
    const auto point = static_cast<char32_t>(c);
    return point >= kStrayByteBase + 0x80 && point <= kStrayByteBase + 0xFF;
}

}  // namespace

std::string NativePath(const std::wstring& path) {
    std::string native;
    native.reserve(path.size());
    std::wstring_view rest = path;
    while (!rest.empty()) {
        const size_t stray = std::find_if(rest.begin(), rest.end(), IsStrayByte) - rest.begin();
        native += ToUtf8(rest.substr(0, stray));
        if (stray == rest.size())
            break;
        native += static_cast<char>(static_cast<char32_t>(rest[stray]) - kStrayByteBase);
        rest.remove_prefix(stray + 1);
    }
    return native;
}

std::wstring PathFromNative(std::string_view native) {
    std::wstring path;
    path.reserve(native.size());
    for (size_t at = 0; at < native.size();) {
        char32_t point = 0;
        const size_t length = DecodeUtf8(native, at, point);
        if (length == 0) {
            path += static_cast<wchar_t>(kStrayByteBase + static_cast<unsigned char>(native[at]));
            ++at;
            continue;
        }
        path += static_cast<wchar_t>(point);
        at += length;
    }
    return path;
}
