#include "header/SavePlan.h"

#include "header/HeaderWriter.h"

void SavePlan::RoundHeightIn(StationHeader& header) const {
    header.antennaHeight = antennaHeight;
    header.antennaHeightText = antennaHeightText;
}

SavePlan PlanSave(const StationHeader& edited, int measureTo, unsigned ansiCodePage,
                  unsigned oemCodePage, LostCharacters lost) {
    StationHeader header = edited;
    SavePlan plan;
    const bool heightTaken = NormaliseAntennaHeight(header, oemCodePage);
    plan.antennaHeight = header.antennaHeight;
    plan.antennaHeightText = header.antennaHeightText;
    if (!heightTaken) {
        plan.refusal =
            ValueProblem{"antenna-height", ValueFault::NotANumber, header.antennaHeightText};
        return plan;
    }
    plan.refusal = FindValueThatBreaksTheHeader(header);
    if (!plan.refusal)
        plan.refusal = FindNumberThatDoesNotReadBack(header);
    if (!plan.refusal && lost == LostCharacters::Refuse)
        plan.refusal = FindValueOutsideCodePage(header, ansiCodePage);
    if (plan.refusal)
        return plan;
    std::optional<std::string> headerText = BuildHeaderText(header, measureTo, ansiCodePage);
    if (!headerText) {
        plan.headerTooLong = true;
        return plan;
    }
    plan.headerText = std::move(*headerText);
    plan.newPath =
        ComposeRawFilePath(header.nameParts.directory, header.stationName, header.nameParts.suffix);
    return plan;
}
