#include "header/SavePlan.h"

#include "header/HeaderWriter.h"

std::optional<SavePlan> PlanSave(StationHeader& header, int measureTo, unsigned ansiCodePage,
                                 unsigned oemCodePage) {
    NormaliseAntennaHeight(header, oemCodePage);
    std::optional<std::string> headerText = BuildHeaderText(header, measureTo, ansiCodePage);
    if (!headerText)
        return std::nullopt;
    return SavePlan{std::move(*headerText),
                    ComposeRawFilePath(header.nameParts.directory, header.stationName,
                                       header.nameParts.suffix)};
}
