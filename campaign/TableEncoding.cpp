#include "campaign/TableEncoding.h"

#include "platform/CodePage.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Text in a code page converts to Unicode and back to the same bytes; bytes that are not
// text in it come back as something else.
std::optional<std::string> AsUtf8(std::string_view bytes, unsigned codePage) {
    const std::wstring text = MultiByteToUnicodeString(bytes, codePage);
    if (UnicodeStringToMultiByte(text, codePage) != bytes)
        return std::nullopt;
    return UnicodeStringToMultiByte(text, kUtf8CodePage);
}

std::string CodePageName(unsigned codePage) {
    return codePage == kUtf8CodePage ? "UTF-8" : "code page " + std::to_string(codePage);
}

}  // namespace

std::optional<TableText> ReadTableText(std::string_view bytes, std::optional<unsigned> codePage,
                                       unsigned fallbackCodePage, std::string& error) {
    const bool marked = bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    if (marked && codePage.value_or(kUtf8CodePage) == kUtf8CodePage)
        bytes.remove_prefix(kByteOrderMark.size());
    if (codePage) {
        if (std::optional<std::string> utf8 = AsUtf8(bytes, *codePage))
            return TableText{std::move(*utf8), *codePage};
        error = "not text in " + CodePageName(*codePage) + " (--encoding)";
        return std::nullopt;
    }
    if (std::optional<std::string> utf8 = AsUtf8(bytes, kUtf8CodePage))
        return TableText{std::move(*utf8), kUtf8CodePage};
    if (!marked) {
        if (std::optional<std::string> utf8 = AsUtf8(bytes, fallbackCodePage))
            return TableText{std::move(*utf8), fallbackCodePage};
    }
    error = "neither UTF-8 nor text in " + CodePageName(fallbackCodePage) +
            "; name its encoding with --encoding";
    return std::nullopt;
}

std::string_view TableFileStart(unsigned codePage) {
    return codePage == kUtf8CodePage ? kByteOrderMark : std::string_view();
}

std::string TableFileText(std::string_view utf8, unsigned codePage) {
    if (codePage == kUtf8CodePage)
        return std::string(utf8);
    return UnicodeStringToMultiByte(MultiByteToUnicodeString(utf8, kUtf8CodePage), codePage);
}
