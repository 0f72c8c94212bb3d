#pragma once

#include <string>
#include <string_view>

// What the tool prints and reads, and what the journal holds, is UTF-8, whatever the code page
// of the header.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view utf8);
