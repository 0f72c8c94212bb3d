#include "platform/FileNameCase.h"

#include <windows.h>

std::wstring FileNameForComparison(std::wstring_view name) {
    std::wstring upper(name);
    if (!upper.empty())
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.data(),
                      static_cast<int>(name.size()), upper.data(), static_cast<int>(upper.size()),
                      nullptr, nullptr, 0);
    return upper;
}
