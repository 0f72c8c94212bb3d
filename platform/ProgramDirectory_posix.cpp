#include "platform/ProgramDirectory.h"

#include <unistd.h>

#include "platform/CodePage.h"

std::wstring GetProgramDirectory() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0)
        return {};
    path.resize(static_cast<size_t>(length));
    const size_t separator = path.find_last_of('/');
    if (separator == std::string::npos)
        return {};
    return MultiByteToUnicodeString(path.substr(0, separator + 1), kUtf8CodePage);
}
