// Any wide text as a path: the split gives its pieces back, and composing them rebuilds it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "header/FileNameParts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring path(size / 2, L'\0');
    for (size_t i = 0; i < path.size(); ++i)
        path[i] = static_cast<wchar_t>(data[2 * i] | (data[2 * i + 1] << 8));
    const FileNameParts parts = SplitRawFilePath(path, L'\\');
    const size_t separator = path.find_last_of(L'\\');
    const std::wstring fileName =
        separator == std::wstring::npos ? path : path.substr(separator + 1);
    FUZZ_CHECK(parts.directory == path.substr(0, path.size() - fileName.size()));
    if (fileName.size() >= 5) {
        FUZZ_CHECK(parts.stationName + parts.suffix == fileName);
        FUZZ_CHECK(ComposeRawFilePath(parts.directory, parts.stationName, parts.suffix) == path);
        FUZZ_CHECK(parts.suffix.size() == 4 || parts.suffix.size() == 8 ||
                   parts.suffix.size() == 9);
    } else {
        FUZZ_CHECK(parts.stationName == L"UnKnown" && parts.suffix == L".TZR");
    }
    return 0;
}
