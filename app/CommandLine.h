#pragma once

#include <string>
#include <vector>

// The raw file named on the command line: the first argument that is no switch (one beginning
// with "-" or "/"); empty when there is none.
std::wstring RawFilePathFromArguments(const std::vector<std::wstring>& args);
