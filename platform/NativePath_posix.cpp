#include "platform/NativePath.h"

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

void AppendUtf8(char32_t point, std::string& out) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

}  // namespace

std::string NativePath(const std::wstring& path) {
    std::string native;
    native.reserve(path.size());
    for (const wchar_t c : path) {
        const auto point = static_cast<char32_t>(c);
        if (point >= kStrayByteBase + 0x80 && point <= kStrayByteBase + 0xFF)
            native += static_cast<char>(point - kStrayByteBase);
        else
            AppendUtf8(point, native);
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
