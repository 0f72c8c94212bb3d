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

    bool Writable() const { return !refusal && !headerTooLong; }
};

enum class LostCharacters { Refuse, Accept };

// The part of a save that follows taking the edited values: rounds the antenna height to
// millimetres, checks that every text can stand in the header and the station name in the file
// name, builds the header and composes the file's new name from the station name.
SavePlan PlanSave(StationHeader& header, int measureTo, unsigned ansiCodePage, unsigned oemCodePage,
                  LostCharacters lost = LostCharacters::Refuse);
