#pragma once

#include <ostream>

#include "antenna/AntennaCatalogue.h"

// Prints the antenna catalogue, as one JSON object or as a list; returns the exit status.
int RunCatalogue(const AntennaCatalogue& catalogue, bool json, std::ostream& out);
