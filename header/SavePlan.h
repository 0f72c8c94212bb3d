#pragma once

#include <optional>
#include <string>

#include "header/StationHeader.h"
#include "header/ValueCheck.h"

// What a save writes: the new header and the path the file gets.
struct SavePlan {
    std::string headerText;
    std::wstring newPath;
    // Why nothing may be written; the header text and the path are empty then.
    std::optional<ValueProblem> refusal;
    bool headerTooLong = false;
    // The antenna height as the save rounds it to millimetres, and its text.
    float antennaHeight = 0;
    std::wstring antennaHeightText;

    bool Writable() const { return !refusal && !headerTooLong; }
    // Gives the record the rounded height, as the editor shows it after a save.
    void RoundHeightIn(StationHeader& header) const;
};

enum class LostCharacters { Refuse, Accept };

// The part of a save that follows taking the edited values: rounds the antenna height to
// millimetres, checks that every text can stand in the header and the station name in the file
// name and that every number reads back as written, builds the header and composes the file's
// new name from the station name.
SavePlan PlanSave(const StationHeader& edited, int measureTo, unsigned ansiCodePage,
                  unsigned oemCodePage, LostCharacters lost = LostCharacters::Refuse);
