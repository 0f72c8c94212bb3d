#include "platform/CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <string>
#include <type_traits>
#include <utility>

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
    // Back to the initial shift state, as a converter just opened.
    void Reset() const { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

  private:
    iconv_t handle_;
};

// Code pages in which each byte below 0x80 is the ASCII character of that number: the ANSI code
// pages and the OEM ones in use (not 864, which has its own percent sign). Header text is mostly
// ASCII, which in these needs no converter at all.
bool KeepsAscii(unsigned codePage) {
    switch (codePage) {
        case kUtf8CodePage:
        case 437:
        case 850:
        case 852:
        case 855:
        case 857:
        case 858:
        case 860:
        case 861:
        case 862:
        case 863:
        case 865:
        case 866:
        case 869:
        case 874:
        case 932:
        case 936:
        case 949:
        case 950:
            return true;
        default:
            return codePage >= 1250 && codePage <= 1258;
    }
}

template <typename Char>
bool IsAscii(std::basic_string_view<Char> text) {
    return std::all_of(text.begin(), text.end(),
                       [](Char c) { return static_cast<std::make_unsigned_t<Char>>(c) < 0x80; });
}

enum class Direction { ToWide, FromWide };

// Opening a converter looks up the code page and loads its tables; a campaign converts some
// fifteen fields of each of thousands of files. So each thread keeps one converter per direction
// and code page for its lifetime: a converter holds a shift state and must not be shared.
const IconvHandle& ConverterFor(Direction direction, unsigned codePage) {
    thread_local std::map<std::pair<Direction, unsigned>, IconvHandle> converters;
    const auto key = std::make_pair(direction, codePage);
    auto found = converters.find(key);
    if (found == converters.end()) {
        const std::string name = IconvName(codePage);
        found = direction == Direction::ToWide ? converters.try_emplace(key, "WCHAR_T", name).first
                                               : converters.try_emplace(key, name, "WCHAR_T").first;
    }
    return found->second;
}

// Runs iconv over the whole input; an unconvertible unit is skipped and `replacement` emitted.
template <typename Out, typename In>
Out Convert(const IconvHandle& converter, const In* src, size_t count, const Out& replacement) {
    Out result;
    if (!converter.IsOpen())
        return result;
    converter.Reset();
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
        converter.Reset();
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
    if (KeepsAscii(codePage) && IsAscii(src))
        return std::wstring(src.begin(), src.end());
    return Convert(ConverterFor(Direction::ToWide, codePage), src.data(), src.size(),
                   std::wstring(1, L'\uFFFD'));
}

std::string UnicodeStringToMultiByte(std::wstring_view src, unsigned codePage) {
    if (KeepsAscii(codePage) && IsAscii(src))
        return std::string(src.begin(), src.end());
    return Convert(ConverterFor(Direction::FromWide, codePage), src.data(), src.size(),
                   std::string(1, '?'));
}

bool IsCodePageAvailable(unsigned codePage) {
    return ConverterFor(Direction::ToWide, codePage).IsOpen() &&
           ConverterFor(Direction::FromWide, codePage).IsOpen();
}
