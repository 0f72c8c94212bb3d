#pragma once

#include <string>
#include <string_view>

// Code pages are numbered as on Windows; every conversion names its code page explicitly.
constexpr unsigned kUtf8CodePage = 65001;

// The code page that 8-bit text of the user's system is in (Windows: GetACP).
unsigned AnsiCodePage();
// The code page of the console and of older tools (Windows: GetOEMCP).
unsigned OemCodePage();

// Bytes that are invalid in the code page become U+FFFD.
std::wstring MultiByteToUnicodeString(std::string_view src, unsigned codePage);
// Characters the code page cannot hold become its default character, usually '?'.
std::string UnicodeStringToMultiByte(std::wstring_view src, unsigned codePage);

// True when text can be converted from and to this code page here.
bool IsCodePageAvailable(unsigned codePage);
