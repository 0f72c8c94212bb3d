#pragma once

#include <optional>
#include <string>
#include <vector>

#include "antenna/AntennaCatalogue.h"
#include "header/FieldTable.h"
#include "header/StationHeader.h"

// A value given for an editable field, as the user typed it.
struct FieldValue {
    const RecordField* field;
    std::wstring text;
};
using FieldValues = std::vector<FieldValue>;

// Puts a record just read into the state the editor holds it in before its Save: coordinates
// and interval as it shows them, and the antenna name its list selects, which is the file's own
// name when the catalogue lacks it.
// False when the catalogue is empty, so that no antenna could be selected.
bool HoldAsEditor(StationHeader& header, const AntennaCatalogue& catalogue);

// Takes the values into the record in their order; why not when one cannot be taken.
std::optional<FieldValueProblem> TakeFieldValues(StationHeader& header, const FieldValues& values,
                                                 const AntennaCatalogue& catalogue);
