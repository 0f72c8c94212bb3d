#pragma once

#include <optional>
#include <string>

#include "header/StationHeader.h"

// What a save writes: the new header and the path the file gets.
struct SavePlan {
    std::string headerText;
    std::wstring newPath;
};

// The part of a save that follows taking the edited values: rounds the antenna height to
// millimetres, builds the header and composes the file's new name from the station name.
// Nothing when the header would be too long.
std::optional<SavePlan> PlanSave(StationHeader& header, int measureTo, unsigned ansiCodePage,
                                 unsigned oemCodePage);
