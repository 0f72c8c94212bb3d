#pragma once

#include <string>

// The path in the extended form that Win32 passes on whatever its length ("\\?\C:\..." or
// "\\?\UNC\server\share\..."), for the system calls only: what the user sees stays the path as
// given. Made from the full path, so that ".", "..", forward slashes and trailing dots keep the
// meaning they have in a plain path; a device name such as CON stays the device.
std::wstring ExtendedPath(const std::wstring& path);
