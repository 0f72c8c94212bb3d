#pragma once

#include <array>
#include <string_view>

// Antenna names that older headers give by number in "AntType:"; the last entry, "End", closes it.
extern const std::array<std::wstring_view, 54> LegacyAntennaTable;

// The number of entries before "End".
int LegacyAntennaCount();
