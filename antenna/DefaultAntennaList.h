#pragma once

#include <array>
#include <string>
#include <string_view>

struct DefaultAntennaRow {
    std::wstring_view name;
    std::array<std::wstring_view, 3> values;
};

// The antennas a new catalogue file starts with, closed by a row named "End".
extern const std::array<DefaultAntennaRow, 46> DefaultAntennaList;

// The catalogue file written from DefaultAntennaList, byte for byte.
std::string DefaultCatalogueFileText();
