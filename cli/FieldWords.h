#pragma once

#include <string_view>

#include "cli/ToolTexts.h"
#include "header/FieldTable.h"

// The field's key in JSON records: the editor's member name.
std::string_view JsonKeyOf(const RecordField& field);

// What the field's value is, for help texts.
std::string_view MeaningOf(const RecordField& field, Language language);
