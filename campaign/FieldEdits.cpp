#include "campaign/FieldEdits.h"

#include "header/CLocaleNumbers.h"

bool HoldAsEditor(StationHeader& header, const AntennaCatalogue& catalogue) {
    if (catalogue.count == 0)
        return false;
    header.approxX = RoundToShownDigits(header.approxX);
    header.approxY = RoundToShownDigits(header.approxY);
    header.approxZ = RoundToShownDigits(header.approxZ);
    header.interval = RoundToShownDigits(header.interval);
    // An antenna the catalogue lacks keeps the name the file gives it, since the name decides
    // the phase-centre model in processing; a legacy number without a name gets its entry's.
    if (header.antennaTypeName.empty() || catalogue.IndexOfName(header.antennaTypeName) >= 0)
        header.antennaTypeName = catalogue.entries[header.antennaTypeIndex].name;
    return true;
}

std::optional<FieldValueProblem> TakeFieldValues(StationHeader& header, const FieldValues& values,
                                                 const AntennaCatalogue& catalogue) {
    for (const FieldValue& value : values) {
        if (std::optional<FieldValueProblem> problem =
                TakeFieldValue(*value.field, header, value.text, catalogue))
            return problem;
    }
    return std::nullopt;
}
