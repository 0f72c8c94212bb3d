#include "platform/ProgramDirectory.h"

#include <unistd.h>

#include "platform/PathText.h"
#include "platform/Utf8.h"

// A link that fills the buffer may have been cut short: the buffer grows until it holds the whole.
std::wstring GetProgramPath() {
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length <= 0)
            return {};
        if (static_cast<size_t>(length) < path.size()) {
            path.resize(static_cast<size_t>(length));
            return FromUtf8(path);
        }
        path.resize(path.size() * 2);
    }
}

std::wstring GetProgramDirectory() {
    return DirectoryPartOf(GetProgramPath(), L'/');
}
