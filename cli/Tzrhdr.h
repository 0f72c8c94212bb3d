#pragma once

#include <ostream>
#include <string>
#include <vector>

// The tzrhdr command line: `args` without the program name; `out` and `err` take UTF-8.
// Returns the process exit status.
int RunTzrhdr(const std::vector<std::wstring>& args, std::ostream& out, std::ostream& err);
