#pragma once

#include <array>
#include <string_view>

// What the antenna height is measured to, indexed by the header's measure-to code.
inline constexpr std::array<std::wstring_view, 4> MeasureToChoices = {
    L"未知",          // not known
    L"天线座底部",    // bottom of the antenna mount
    L"天线相位中心",  // antenna phase centre
    L"天线斜高",      // slant height
};
