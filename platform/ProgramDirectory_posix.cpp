#include "platform/ProgramDirectory.h"

#include <unistd.h>

#include "platform/CodePage.h"
#include "platform/PathText.h"

std::wstring GetProgramDirectory() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0)
        return {};
    path.resize(static_cast<size_t>(length));
    return MultiByteToUnicodeString(DirectoryPartOf(path, '/'), kUtf8CodePage);
}
