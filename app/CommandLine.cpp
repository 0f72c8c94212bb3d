#include "app/CommandLine.h"

std::wstring RawFilePathFromArguments(const std::vector<std::wstring>& args) {
    for (const std::wstring& arg : args) {
        const bool isSwitch = !arg.empty() && (arg[0] == L'-' || arg[0] == L'/');
        if (!isSwitch)
            return arg;
    }
    return {};
}
