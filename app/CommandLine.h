#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The raw file named on the command line: the first argument that is no switch (one beginning
// with "-" or "/"); empty when there is none.
std::wstring RawFilePathFromArguments(const std::vector<std::wstring>& args);

// The window the command line asks for, and what it opens.
struct Launch {
    enum class Window { Editor, Campaign };
    Window window = Window::Editor;
    // The editor's one raw file (none when empty), or the campaign window's files and folders.
    std::vector<std::wstring> paths;
    bool operator==(const Launch&) const = default;
};

// The switch that opens the campaign window, with or without paths (the Start-menu shortcut).
inline constexpr std::wstring_view kCampaignSwitch = L"/campaign";

// One raw file opens the editor, as it always has; several paths, a folder (Explorer's Open on a
// selection, a folder dropped on the program's icon) or /campaign open the campaign window.
Launch LaunchFromArguments(const std::vector<std::wstring>& args,
                           const std::function<bool(const std::wstring&)>& isFolder);
