#include "platform/FileNameCase.h"

std::wstring FileNameForComparison(std::wstring_view name) {
    return std::wstring(name);
}
