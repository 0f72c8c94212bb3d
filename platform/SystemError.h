#pragma once

#include <string>

// The system's own text for the last error of the calling thread, followed by the file.
std::wstring LastErrorText(const std::wstring& path);
