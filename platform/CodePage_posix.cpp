#include "platform/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

constexpr unsigned kLatin1CodePage = 1252;
constexpr unsigned kUsOemCodePage = 437;

struct LocaleCodePages {
    std::string_view languagePrefix;
    unsigned ansi;
    unsigned oem;
};

// What Windows picks for the same locale, so that files read here decode as they would there.
constexpr LocaleCodePages kLocaleCodePages[] = {
    {"zh_CN", 936, 936}, {"zh_SG", 936, 936}, {"zh_TW", 950, 950}, {"zh_HK", 950, 950},
    {"ja", 932, 932},    {"ko", 949, 949},    {"ru", 1251, 866},
};

std::string_view UserLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return {};
}

const LocaleCodePages* CodePagesOfUserLocale() {
    const std::string_view locale = UserLocaleName();
    for (const LocaleCodePages& entry : kLocaleCodePages) {
        if (locale.substr(0, entry.languagePrefix.size()) == entry.languagePrefix)
            return &entry;
    }
    return nullptr;
}

std::string IconvName(unsigned codePage) {
    if (codePage == kUtf8CodePage)
        return "UTF-8";
    return "CP" + std::to_string(codePage);
}

class IconvHandle {
  public:
    IconvHandle(const std::string& to, const std::string& from)
        : handle_(iconv_open(to.c_str(), from.c_str())) {}
    ~IconvHandle() {
        if (IsOpen())
            iconv_close(handle_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool IsOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return handle_; }

  private:
    iconv_t handle_;
};

// Runs iconv over the whole input; an unconvertible unit is skipped and `replacement` emitted.
template <typename Out, typename In>
Out Convert(const IconvHandle& converter, const In* src, size_t count, const Out& replacement) {
    Out result;
    if (!converter.IsOpen())
        return result;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(src));
    size_t inLeft = count * sizeof(In);
    typename Out::value_type chunk[1024];
    while (inLeft > 0) {
        char* out = reinterpret_cast<char*>(chunk);
        size_t outLeft = sizeof(chunk);
        const size_t rc = iconv(converter.Get(), &in, &inLeft, &out, &outLeft);
        result.append(chunk, (sizeof(chunk) - outLeft) / sizeof(chunk[0]));
        if (rc != static_cast<size_t>(-1) || errno == E2BIG)
            continue;
        // EILSEQ or EINVAL (a truncated sequence at the end): skip one input unit.
        result += replacement;
        in += sizeof(In);
        inLeft -= sizeof(In);
        iconv(converter.Get(), nullptr, nullptr, nullptr, nullptr);
    }
    return result;
}

}  // namespace

unsigned AnsiCodePage() {
    const LocaleCodePages* pages = CodePagesOfUserLocale();
    return pages != nullptr ? pages->ansi : kLatin1CodePage;
}

unsigned OemCodePage() {
    const LocaleCodePages* pages = CodePagesOfUserLocale();
    return pages != nullptr ? pages->oem : kUsOemCodePage;
}

std::wstring MultiByteToUnicodeString(std::string_view src, unsigned codePage) {
    const IconvHandle converter("WCHAR_T", IconvName(codePage));
    return Convert(converter, src.data(), src.size(), std::wstring(1, L'\uFFFD'));
}

std::string UnicodeStringToMultiByte(std::wstring_view src, unsigned codePage) {
    const IconvHandle converter(IconvName(codePage), "WCHAR_T");
    return Convert(converter, src.data(), src.size(), std::string(1, '?'));
}

bool IsCodePageAvailable(unsigned codePage) {
    return IconvHandle("WCHAR_T", IconvName(codePage)).IsOpen() &&
           IconvHandle(IconvName(codePage), "WCHAR_T").IsOpen();
}
