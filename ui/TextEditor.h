#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Starts Notepad on the file, the path passed exactly as given; returns what ShellExecuteW
// returned, which is 32 or less on failure.
INT_PTR OpenInNotepad(const std::wstring& path);

// The text lines at the start of a raw file's header region, without the binary data that may
// follow them within the region.
std::string_view HeaderTextLines(std::string_view headerRegion);

// Writes the header's text to a read-only file in the temporary folder, named after the raw file,
// so that an editor can show it without ever holding the raw file. Returns its path, or nothing
// when it could not be written.
std::optional<std::wstring> WriteHeaderCopy(const std::wstring& rawPath, std::string_view text);
