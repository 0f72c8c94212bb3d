#pragma once

#include <string>
#include <string_view>

// A file name in the form in which the system tells names apart: upper-cased where letter case
// does not count (Windows), as it is elsewhere.
std::wstring FileNameForComparison(std::wstring_view name);
