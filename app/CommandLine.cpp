#include "app/CommandLine.h"

namespace {

bool IsSwitch(const std::wstring& arg) {
    return !arg.empty() && (arg[0] == L'-' || arg[0] == L'/');
}

// Switches are named in any letter case, as Windows programs take them.
bool IsCampaignSwitch(const std::wstring& arg) {
    if (arg.size() != kCampaignSwitch.size() || arg.empty() || (arg[0] != L'/' && arg[0] != L'-'))
        return false;
    for (size_t i = 1; i < arg.size(); ++i) {
        const wchar_t c = arg[i] >= L'A' && arg[i] <= L'Z' ? arg[i] - L'A' + L'a' : arg[i];
        if (c != kCampaignSwitch[i])
            return false;
    }
    return true;
}

}  // namespace

std::wstring RawFilePathFromArguments(const std::vector<std::wstring>& args) {
    for (const std::wstring& arg : args) {
        if (!IsSwitch(arg))
            return arg;
    }
    return {};
}

Launch LaunchFromArguments(const std::vector<std::wstring>& args,
                           const std::function<bool(const std::wstring&)>& isFolder) {
    Launch launch;
    bool campaign = false;
    for (const std::wstring& arg : args) {
        if (IsCampaignSwitch(arg))
            campaign = true;
        else if (!IsSwitch(arg))
            launch.paths.push_back(arg);
    }
    if (campaign || launch.paths.size() > 1 ||
        (launch.paths.size() == 1 && isFolder(launch.paths[0])))
        launch.window = Launch::Window::Campaign;
    return launch;
}
