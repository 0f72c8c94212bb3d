#include "campaign/TableKey.h"

#include <array>

#include "header/AsciiText.h"

namespace {

constexpr std::array<std::string_view, 4> kBlanks = {" ", "\t", "\xC2\xA0", "\xEF\xBB\xBF"};

std::string_view FileNameOf(std::string_view path) {
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

}  // namespace

std::string_view TrimKey(std::string_view key) {
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (const std::string_view blank : kBlanks) {
            if (key.starts_with(blank)) {
                key.remove_prefix(blank.size());
                trimmed = true;
            }
            if (key.ends_with(blank)) {
                key.remove_suffix(blank.size());
                trimmed = true;
            }
        }
    }
    return key;
}

std::string LookupKey(std::string_view key, bool fileName) {
    if (!fileName)
        return std::string(key);
    std::string folded(FileNameOf(key));
    for (char& c : folded)
        c = ToAsciiLower(c);
    return folded;
}

bool SameFileName(std::string_view lookupKey, std::string_view key) {
    const std::string_view name = FileNameOf(key);
    if (name.size() != lookupKey.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        if (ToAsciiLower(name[i]) != lookupKey[i])
            return false;
    }
    return true;
}
