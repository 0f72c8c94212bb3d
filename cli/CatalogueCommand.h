#pragma once

#include <ostream>

#include "antenna/AntennaCatalogue.h"
#include "cli/ToolTexts.h"

// Prints the catalogue's entries, and on `err` each record of its file that is amiss, by line.
int RunCatalogue(const AntennaCatalogue& catalogue, bool json, Language language, std::ostream& out,
                 std::ostream& err);
