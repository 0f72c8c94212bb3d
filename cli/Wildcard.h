#pragma once

#include <string_view>

// Whether the text holds "*" or "?".
bool HasWildcards(std::wstring_view text);

// Whether a file name matches a pattern by the shell's rules: "*" stands for any run of
// characters, none included, and "?" for exactly one; letter case counts only where the
// system's file names tell it apart.
bool MatchesWildcard(std::wstring_view name, std::wstring_view pattern);
