#include "cli/Wildcard.h"

#include <string>

#include "platform/FileNameCase.h"

bool HasWildcards(std::wstring_view text) {
    return text.find_first_of(L"*?") != std::wstring_view::npos;
}

// Each "*" is first tried for no characters; on a mismatch the last one takes one more.
bool MatchesWildcard(std::wstring_view name, std::wstring_view pattern) {
    const std::wstring text = FileNameForComparison(name);
    const std::wstring wanted = FileNameForComparison(pattern);
    size_t at = 0;
    size_t next = 0;
    size_t star = std::wstring::npos;
    size_t starAt = 0;
    while (at < text.size()) {
        if (next < wanted.size() && (wanted[next] == L'?' || wanted[next] == text[at])) {
            ++at;
            ++next;
        } else if (next < wanted.size() && wanted[next] == L'*') {
            star = next++;
            starAt = at;
        } else if (star != std::wstring::npos) {
            next = star + 1;
            at = ++starAt;
        } else {
            return false;
        }
    }
    while (next < wanted.size() && wanted[next] == L'*')
        ++next;
    return next == wanted.size();
}
